#include <csignal>

#include "cli/run_cli.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return tavlo::cli::RunCli(argc, argv);
}
