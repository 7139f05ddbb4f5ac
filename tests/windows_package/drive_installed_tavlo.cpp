// Runs inside the Wine prefix the installer test installed Tavlo into, as its user: opens a
// firmware file the way Explorer does (ShellExecuteEx, through the .rgn file type), reads the
// file-name field of the window that comes up, lets Edit settings create the settings file and
// View help write the help, and closes the window; checks the Start menu entry too. Prints one
// "ok"/"FAIL" line per check and leaves a picture of the window.
//   drive_installed_tavlo.exe PROGRAM FIRMWARE_FILE PICTURE_FOLDER
// PROGRAM is where the installed tavlo.exe should be. Tavlo starts in PICTURE_FOLDER, where no
// firmware file lies, so that the settings' pattern (*.rgn) cannot stand in for the file given.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "support/png_reader.h"
#include "window_capture.h"
#include "workflow/main_dialog_template.h"

namespace {

using tavlo::test::TextOf;
using tavlo::test::WaitUntil;

int failures = 0;

void Report(bool passed, const std::wstring& what) {
    std::wprintf(L"%ls: %ls\n", passed ? L"ok" : L"FAIL", what.c_str());
    std::fflush(stdout);
    failures += passed ? 0 : 1;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

// Two names of one file or folder, in any letter case, a folder with or without its final "\".
bool SamePath(std::wstring a, std::wstring b) {
    for (std::wstring* path : {&a, &b}) {
        if (path->size() > 1 && path->back() == L'\\') {
            path->pop_back();
        }
    }
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The Start menu entry "Tavlo" starts the installed program in the user's Documents.
void CheckStartMenuEntry(const std::wstring& program) {
    const std::wstring link = KnownFolder(FOLDERID_Programs) + L"\\Tavlo.lnk";
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = L"";
    wchar_t folder[MAX_PATH] = L"";
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(link.c_str(), STGM_READ))) {
        shellLink->GetPath(target, MAX_PATH, nullptr, 0);
        shellLink->GetWorkingDirectory(folder, MAX_PATH);
    }
    if (file) {
        file->Release();
    }
    if (shellLink) {
        shellLink->Release();
    }
    Report(SamePath(target, program), L"the Start menu entry " + link + L" starts " + target);
    Report(SamePath(folder, KnownFolder(FOLDERID_Documents)),
           L"it starts the program in the user's Documents: " + std::wstring(folder));
}

// A shown window of the program other than its main window (a box a command showed), and its
// title; nullptr when there is none.
HWND BoxOver(HWND main) {
    struct Search {
        HWND main;
        DWORD process;
        HWND found = nullptr;
    } search{main, 0};
    GetWindowThreadProcessId(main, &search.process);
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (window != s.main && process == s.process && IsWindowVisible(window)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// That box, once it has the title `title`; nullptr when none comes.
HWND WaitForBox(HWND main, const std::wstring& title) {
    const auto titled = [&] { return BoxOver(main) != nullptr && TextOf(BoxOver(main)) == title; };
    if (WaitUntil(titled, std::chrono::seconds(15))) {
        return BoxOver(main);
    }
    if (HWND other = BoxOver(main)) {
        std::wprintf(L"    instead: a box titled '%ls'\n", TextOf(other).c_str());
    }
    return nullptr;
}

void Press(HWND window, int id) {
    // Posted, not sent: the command runs a modal loop of its own.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void DriveWindow(const std::wstring& program, const std::wstring& firmware,
                 const std::wstring& pictures) {
    // As Explorer opens a double-clicked file: the default verb of its file type.
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    open.lpFile = firmware.c_str();
    open.lpDirectory = pictures.c_str();
    open.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&open) || open.hProcess == nullptr) {
        Report(false, L"opening " + firmware + L" started no program (error " +
                          std::to_wstring(GetLastError()) + L")");
        return;
    }
    wchar_t started[MAX_PATH] = L"";
    DWORD length = MAX_PATH;
    QueryFullProcessImageNameW(open.hProcess, 0, started, &length);
    Report(SamePath(started, program), L"opening the .rgn file started " + std::wstring(started));

    const HWND main = tavlo::test::WaitForWindow(GetProcessId(open.hProcess), L"Tavlo");
    Report(main != nullptr, L"the Tavlo window came up");
    if (main == nullptr) {
        TerminateProcess(open.hProcess, 1);
        CloseHandle(open.hProcess);
        return;
    }
    Sleep(500);  // let it finish painting
    const std::wstring picture = pictures + L"\\opened-through-file-type.png";
    char narrow[MAX_PATH * 3] = "";
    WideCharToMultiByte(CP_UTF8, 0, picture.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    tavlo::test::WritePng(narrow, tavlo::test::CaptureWindow(main));
    const std::wstring field = TextOf(GetDlgItem(main, tavlo::main_dialog_template::kFileName));
    Report(field == firmware, L"the file-name field shows '" + field + L"'");

    Press(main, tavlo::main_dialog_template::kEditSettings);
    if (HWND question = WaitForBox(main, L"Tavlo : Create default settings file ?")) {
        Press(question, IDYES);
        if (HWND held = WaitForBox(main, L"Tavlo")) {
            Press(held, IDOK);
            // The press is posted: until the box has taken it, it is still there, and the next
            // command's look for a box would find it.
            WaitUntil([&] { return !IsWindow(held); }, std::chrono::seconds(15));
            Report(true, L"Edit settings created the file, started Notepad and waited");
        } else {
            Report(false, L"after Yes no box waited for the editing");
        }
    } else {
        Report(false, L"Edit settings did not offer to create the settings file");
    }

    // View help writes the page, starts the browser and is done; any box it shows instead (a
    // browser that could not be started) stands in the way of the window's closing.
    Press(main, tavlo::main_dialog_template::kViewHelp);
    PostMessageW(main, WM_CLOSE, 0, 0);
    const auto endedOrBox = [&] {
        return WaitForSingleObject(open.hProcess, 0) == WAIT_OBJECT_0 || BoxOver(main) != nullptr;
    };
    WaitUntil(endedOrBox, std::chrono::seconds(15));
    if (HWND box = BoxOver(main)) {
        wchar_t kind[64] = {};
        GetClassNameW(box, kind, 64);
        Report(false, L"View help showed the box '" + TextOf(box) + L"' (" + kind + L")");
        Press(box, IDOK);
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    Report(WaitForSingleObject(open.hProcess, 15000) == WAIT_OBJECT_0,
           L"the window closed and tavlo.exe ended");
    CloseHandle(open.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: drive_installed_tavlo PROGRAM FIRMWARE PICTURE_FOLDER\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CheckStartMenuEntry(argv[1]);
    DriveWindow(argv[1], argv[2], argv[3]);
    CoUninitialize();
    return failures == 0 ? 0 : 1;
}
