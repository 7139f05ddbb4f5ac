// The desktop program on Windows: one window in which the firmware file is searched and patched.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <optional>
#include <string>

#include "core/disk_file.h"
#include "core/firmware_image.h"
#include "core/windows/win_io.h"
#include "win32/main_window.h"
#include "win32/win32_desktop_services.h"

namespace {

// A file opened from Explorer (or dropped on the program's icon) is the one argument.
std::optional<std::string> StartupFile() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::optional<std::string> file;
    if (arguments != nullptr && count == 2) {
        file = tavlo::Utf8(arguments[1]);
    }
    LocalFree(arguments);
    return file;
}

void Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The program's own file locates the settings beside it, however it was started.
    const std::string programPath = tavlo::RunningExecutablePath().value_or("tavlo.exe");
    tavlo::Win32DesktopServices desktop;
    tavlo::FirmwareImage image;
    tavlo::Win32MainWindow window(programPath, image, desktop);
    window.SetStartupFile(StartupFile());
    window.Run();  // Exit, Escape and the close box all end here
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        Run();
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), "Tavlo", MB_OK | MB_ICONERROR);
        return 1;
    } catch (...) {
        MessageBoxW(nullptr, L"An unexpected error ended the program.", L"Tavlo",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    return 0;
}
