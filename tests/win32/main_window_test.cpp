// The main window's own wiring, in this process: a file dropped onto it names the file to patch,
// and its fields keep out what Windows-1252 cannot hold.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "core/firmware_image.h"
#include "support/test_files.h"
#include "win32/main_window.h"
#include "window_capture.h"
#include "workflow/main_dialog_template.h"

namespace tavlo {
namespace {

// A drop of one file as Explorer hands it over: a DROPFILES block with the wide path.
HGLOBAL DropOf(const std::wstring& path) {
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(),
                path.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

struct Seen {
    Win32MainWindow* window = nullptr;
    std::wstring dropped;
    std::wstring fileName;
    std::wstring searchText;
};
Seen seen;

// Runs inside the window's modal loop: acts as the user would, notes what the fields show, then
// leaves the window.
void CALLBACK Drive(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND main = seen.window->Window();
    SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(seen.dropped)), 0);
    seen.fileName = test::TextOf(GetDlgItem(main, main_dialog_template::kFileName));

    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    GetComboBoxInfo(GetDlgItem(main, main_dialog_template::kSearchText), &combo);
    SetWindowTextW(combo.hwndItem, L"");
    for (const wchar_t typed : std::wstring(L"W\u03a9\u00e9\u20ac")) {  // Omega is refused
        SendMessageW(combo.hwndItem, WM_CHAR, typed, 1);
    }
    seen.searchText = test::TextOf(combo.hwndItem);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);  // Escape: nothing to save, so it closes
}

TEST(Win32MainWindow, ADroppedFileIsTheFileToPatchAndTypingKeepsToWindows1252) {
    test::TempDir dir;
    const std::string file = dir.File("dropped \xc3\xa9.rgn");  // UTF-8, as paths are
    test::WriteFile(file, "firmware");
    Win32DesktopServices desktop;
    FirmwareImage image;
    Win32MainWindow window(dir.File("tavlo.exe"), image, desktop);
    seen = Seen{&window, test::PathOf(file).wstring(), L"", L""};
    SetTimer(nullptr, 0, 200, &Drive);
    window.Run();
    EXPECT_EQ(seen.fileName, seen.dropped);
    EXPECT_EQ(seen.searchText, L"W\u00e9\u20ac");
}

}  // namespace
}  // namespace tavlo
