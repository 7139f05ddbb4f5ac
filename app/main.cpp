// The desktop program: one window in which the firmware file is searched and patched.
#include <csignal>
#include <cstdio>
#include <exception>

#include "app/tavlo_app.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // An exception that reaches this far ends the program with a word on standard error rather
    // than with std::terminate.
    try {
        tavlo::TavloApp app(argc, argv);
        app.InitInstance();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavlo: %s\n", error.what());
        return 1;
    } catch (...) {
        std::fputs("tavlo: an unexpected error ended the program\n", stderr);
        return 1;
    }
    return 0;  // nothing in the program sets an exit status
}
