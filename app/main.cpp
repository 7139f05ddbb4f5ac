// The desktop program: one window in which the firmware file is searched and patched.
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "core/version_info.h"
#include "core/windows1252.h"
#include "qt/run_main_dialog.h"

int main(int argc, char** argv) {
    // Asked from a terminal or a script: answered without a window or a display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("Tavlo Version %s\n",
                    tavlo::Windows1252ToUtf8(tavlo::GetProductVersion()).c_str());
        return 0;
    }
    // Past a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // An exception that reaches this far ends the program with a word on standard error rather
    // than with std::terminate.
    try {
        QApplication application(argc, argv);
        // Argument zero locates the settings file; a file manager opens a firmware file as the
        // one further argument, and anything else is ignored.
        const std::string programPath = argc > 0 ? argv[0] : "tavlo";
        const std::optional<std::string> startupFile =
            argc == 2 ? std::optional<std::string>(argv[1]) : std::nullopt;
        tavlo::RunMainDialog(programPath, startupFile);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavlo: %s\n", error.what());
        return 1;
    } catch (...) {
        std::fputs("tavlo: an unexpected error ended the program\n", stderr);
        return 1;
    }
    return 0;  // nothing in the program sets an exit status
}
