#include "win32/win32_desktop_programs.h"

#include <shellapi.h>
#include <shlobj.h>

#include "core/windows/win_io.h"

namespace tavlo {

namespace {

// ShellExecuteW's result: above 32 the program started; 32 or less is the error number the
// user is shown.
int ErrorOf(HINSTANCE result) {
    const auto value = reinterpret_cast<INT_PTR>(result);
    return value > 32 ? 0 : static_cast<int>(value);
}

}  // namespace

std::string Win32DesktopPrograms::EditorName() {
    return "Notepad";
}

LaunchResult Win32DesktopPrograms::OpenInEditor(const std::string& file) {
    const std::wstring parameters = L"\"" + Wide(file) + L"\"";
    return {ErrorOf(ShellExecuteW(owner_, L"open", L"notepad", parameters.c_str(), L".",
                                  SW_SHOWNORMAL)),
            EditorName()};
}

std::string Win32DesktopPrograms::AddressOf(const std::string& file) {
    // The page is opened by its path: the shell hands it to the browser that opens .htm files.
    return file;
}

LaunchResult Win32DesktopPrograms::OpenInBrowser(const std::string& address) {
    return {ErrorOf(ShellExecuteW(nullptr, nullptr, Wide(address).c_str(), nullptr, nullptr,
                                  SW_SHOWNORMAL)),
            "a web browser"};
}

std::string Win32DesktopPrograms::HelpFolder() {
    PWSTR local = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local) == S_OK) {
        folder = Utf8(local) + "\\Tavlo\\help";
    } else {
        // Without a profile folder, the temporary folder still lets the help be read.
        wchar_t temp[MAX_PATH + 1];
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        folder = Utf8(std::wstring(temp, length)) + "Tavlo\\help";
    }
    CoTaskMemFree(local);
    return folder;
}

}  // namespace tavlo
