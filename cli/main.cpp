#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#include "cli/cli_context.h"
#include "cli/run_cli.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Whatever a command did not foresee ends it with a message, never with std::terminate.
    try {
        return tavlo::cli::RunCli(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("tavlo-cli: not enough memory\n", stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavlo-cli: %s\n", error.what());
    } catch (...) {
        std::fputs("tavlo-cli: an unexpected error ended the command\n", stderr);
    }
    return tavlo::cli::ExitFileError;
}
