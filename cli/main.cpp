#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/native_arguments.h"
#include "cli/run_cli.h"

int main(int argc, char** argv) {
    // Whatever a command did not foresee ends it with a message, never with std::terminate.
    try {
        std::vector<std::string> arguments = tavlo::cli::NativeArguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        pointers.push_back(nullptr);
        return tavlo::cli::RunCli(static_cast<int>(arguments.size()), pointers.data());
    } catch (const std::bad_alloc&) {
        std::fputs("tavlo-cli: not enough memory\n", stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavlo-cli: %s\n", error.what());
    } catch (...) {
        std::fputs("tavlo-cli: an unexpected error ended the command\n", stderr);
    }
    return tavlo::cli::ExitFileError;
}
