#include <csignal>

#include "cli/native_arguments.h"

namespace tavlo::cli {

std::vector<std::string> NativeArguments(int argc, char** argv) {
    // Past a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace tavlo::cli
