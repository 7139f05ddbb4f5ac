#include "win32/win32_desktop_services.h"

#include <commdlg.h>

#include <vector>

#include "core/windows/win_io.h"
#include "win32/wide_text.h"

namespace tavlo {

int Win32DesktopServices::Box(std::string_view title, std::string_view text, UINT type) {
    // The boxes' texts are UTF-8: a file name shows in whatever script it is written.
    return MessageBoxW(owner_, Wide(std::string(text)).c_str(), Wide(std::string(title)).c_str(),
                       type);
}

void Win32DesktopServices::ShowMessage(std::string_view title, std::string_view text,
                                       MessageIcon icon) {
    Box(title, text, MB_OK | (icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION : 0));
}

bool Win32DesktopServices::AskYesNo(std::string_view title, std::string_view text) {
    return Box(title, text, MB_YESNO) == IDYES;
}

bool Win32DesktopServices::AskYesNoDefaultNo(std::string_view title, std::string_view text) {
    return Box(title, text, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

YesNoCancel Win32DesktopServices::AskYesNoCancel(std::string_view title, std::string_view text) {
    switch (Box(title, text, MB_YESNOCANCEL)) {
        case IDYES:
            return YesNoCancel::Yes;
        case IDNO:
            return YesNoCancel::No;
        default:  // Cancel, Escape, the close box, or a box that could not be shown
            return YesNoCancel::Cancel;
    }
}

std::optional<std::string> Win32DesktopServices::GetOpenFileName(
    std::string_view initialName, std::span<const FileFilter> filters,
    std::string_view defaultExtension) {
    // "description\0patterns\0 ... \0": the list the dialog takes.
    std::wstring filterList;
    for (const FileFilter& filter : filters) {
        filterList += WideFromWindows1252(filter.description) + L'\0';
        filterList += WideFromWindows1252(filter.patterns) + L'\0';
    }
    filterList += L'\0';
    // Room for the longest path the W functions take.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initial = Wide(std::string(initialName));
    initial.copy(file.data(), std::min(initial.size(), file.size() - 1));
    const std::wstring extension = WideFromWindows1252(defaultExtension);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filterList.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = extension.c_str();
    // The working folder stays where it was: a relative name in the settings is found from it.
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    return Utf8(file.data());
}

}  // namespace tavlo
