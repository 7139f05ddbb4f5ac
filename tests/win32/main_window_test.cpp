// The main window's own wiring, in this process: a file in any script comes into the file-name
// field by the start, Browse (GetOpenFileNameW) and a drop, and Search opens it; the search text
// keeps out what Windows-1252 cannot hold, the file name does not.
#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <string>

#include "core/file_names.h"
#include "core/firmware_image.h"
#include "support/any_file_names.h"
#include "support/test_files.h"
#include "win32/main_window.h"
#include "window_capture.h"
#include "workflow/main_dialog_template.h"

namespace tavlo {
namespace {

namespace tpl = main_dialog_template;

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

// What the user does next, run from the message loop of whatever window is open then.
std::function<bool()> nextStep;

void CALLBACK TakeStep(HWND, UINT, UINT_PTR timer, DWORD) {
    if (nextStep && nextStep()) {
        KillTimer(nullptr, timer);
    }
}

// Runs `step` once a window titled `title` of this program is shown, on it; the window's own
// loop runs meanwhile.
void OnceShown(const std::wstring& title, std::function<void(HWND)> step) {
    nextStep = [title, step] {
        HWND window = FindWindowW(L"#32770", title.c_str());
        if (window == nullptr || !IsWindowVisible(window)) {
            return false;
        }
        nextStep = nullptr;
        step(window);
        return true;
    };
    SetTimer(nullptr, 0, 50, &TakeStep);
}

// The main window while it runs: the steps a test takes, one after another.
std::function<void(HWND)> steps;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND main = FindWindowW(L"#32770", L"Tavlo");
    steps(main);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);  // Escape: nothing to save, so it closes
}

std::wstring FileNameShown(HWND main) {
    return test::TextOf(GetDlgItem(main, tpl::kFileName));
}

// Presses a button and returns when its command is done (its dialogs closed).
void Press(HWND main, int id) {
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
}

TEST(Win32MainWindow, AFileInAnyScriptComesInByTheStartBrowseAndADrop) {
    for (const test::AnyFileName& name : test::kAnyFileNames) {
        SCOPED_TRACE(name.language);
        test::TempDir dir;
        const std::filesystem::path folder = test::PathOf(dir.File(name.folder));
        std::filesystem::create_directory(folder);
        const std::string file = NativePathOf(folder / test::PathOf(name.file));
        test::WriteFile(file, std::string("xx\0WARNING here\0", 16));
        const std::wstring path = test::PathOf(file).wstring();
        std::wstring started, browsed, dropped;
        bool searched = false;
        steps = [&](HWND main) {
            started = FileNameShown(main);
            OnceShown(L"Confirm / edit patch", [&](HWND patch) {
                searched = true;
                PostMessageW(patch, WM_COMMAND, IDCANCEL, 0);
            });
            Press(main, tpl::kSearch);

            SetDlgItemTextW(main, tpl::kFileName, L"kept.rgn");
            OnceShown(L"Open", [&](HWND open) {
                // The path typed into the dialog's name field, and its Open button.
                SetDlgItemTextW(open, GetDlgItem(open, cmb13) ? cmb13 : edt1, path.c_str());
                PostMessageW(open, WM_COMMAND, IDOK, 0);
            });
            Press(main, tpl::kBrowse);
            browsed = FileNameShown(main);

            SetDlgItemTextW(main, tpl::kFileName, L"kept.rgn");
            SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(path)), 0);
            dropped = FileNameShown(main);
        };
        Win32DesktopServices desktop;
        FirmwareImage image;
        Win32MainWindow window(dir.File("tavlo.exe"), image, desktop);
        window.SetStartupFile(file);
        SetTimer(nullptr, 0, 200, &RunSteps);
        window.Run();
        EXPECT_EQ(started, path);
        EXPECT_TRUE(searched) << "Search did not open the patch dialog on the file";
        EXPECT_EQ(browsed, path);
        EXPECT_EQ(dropped, path);
    }
}

// Typed characters: the search text refuses what Windows-1252 lacks; the file name takes them.
TEST(Win32MainWindow, OnlyTheSearchTextKeepsToWindows1252) {
    std::wstring searchText, fileName;
    steps = [&](HWND main) {
        COMBOBOXINFO combo{};
        combo.cbSize = sizeof combo;
        GetComboBoxInfo(GetDlgItem(main, tpl::kSearchText), &combo);
        HWND fileField = GetDlgItem(main, tpl::kFileName);
        for (HWND field : {combo.hwndItem, fileField}) {
            SetWindowTextW(field, L"");
            for (const wchar_t typed : std::wstring(L"W\u03a9\u00e9\u20ac")) {
                SendMessageW(field, WM_CHAR, typed, 1);
            }
        }
        searchText = test::TextOf(combo.hwndItem);
        fileName = test::TextOf(fileField);
    };
    test::TempDir dir;
    Win32DesktopServices desktop;
    FirmwareImage image;
    Win32MainWindow window(dir.File("tavlo.exe"), image, desktop);
    SetTimer(nullptr, 0, 200, &RunSteps);
    window.Run();
    EXPECT_EQ(searchText, L"W\u00e9\u20ac");  // Omega is refused
    EXPECT_EQ(fileName, L"W\u03a9\u00e9\u20ac");
}

}  // namespace
}  // namespace tavlo
