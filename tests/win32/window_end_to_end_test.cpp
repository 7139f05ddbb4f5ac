// tavlo.exe as a user meets it: started on a firmware file, Search, type the owner's text into
// the patch dialog, OK, Exit, Yes; the file holds the text and the backup the old bytes. Its
// keys Alt+A and F1 typed on the keyboard.
// With TAVLO_SCREENSHOT_DIR set, every window on the way is saved there as a PNG.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "core/embedded_resources.h"
#include "core/file_names.h"
#include "core/windows/windows_api.h"  // FindResource is the program's, not windows.h's
#include "support/png_reader.h"
#include "support/test_files.h"
#include "window_capture.h"
#include "workflow/help_flow.h"
#include "workflow/main_dialog_template.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {
namespace {

namespace tpl = patch_dialog_template;
namespace main_dialog = main_dialog_template;

void Screenshot(HWND window, const char* name) {
    if (const char* folder = std::getenv("TAVLO_SCREENSHOT_DIR")) {
        Sleep(300);  // let the window finish painting
        test::WritePng(std::string(folder) + "/" + name, test::CaptureWindow(window));
    }
}

void Click(HWND dialog, int id) {
    // Posted, not sent: the command runs a modal dialog of its own.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class RunningProgram {
public:
    RunningProgram(const std::string& program, const std::string& file, const std::string& folder) {
        std::wstring commandLine = L"\"" + test::PathOf(program).wstring() + L"\" \"" +
                                   test::PathOf(file).wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  test::PathOf(folder).wstring().c_str(), &startup, &process_);
    }
    ~RunningProgram() {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
            }
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    bool Started() const { return started_; }
    DWORD Id() const { return process_.dwProcessId; }
    // The exit status, or -1 when the program is still running after 30 seconds.
    long Wait() const {
        if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) {
            return -1;
        }
        DWORD status = 0;
        GetExitCodeProcess(process_.hProcess, &status);
        return static_cast<long>(status);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// The About box from the system menu, and Browse's file dialog, cancelled: the field keeps the
// file the program was started with.
void VisitAboutAndBrowse(const RunningProgram& tavlo, HWND main, const std::wstring& file) {
    PostMessageW(main, WM_SYSCOMMAND, 16, 0);  // the system menu's About entry
    HWND about = test::WaitForWindow(tavlo.Id(), L"About Tavlo");
    ASSERT_NE(about, nullptr);
    Screenshot(about, "windows-about.png");
    Click(about, IDOK);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(about); }));

    Click(main, main_dialog::kBrowse);
    HWND open = test::WaitForWindow(tavlo.Id(), L"Open");
    ASSERT_NE(open, nullptr);
    Screenshot(open, "windows-browse.png");
    PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(open); }));
    EXPECT_EQ(test::TextOf(GetDlgItem(main, main_dialog::kFileName)), file);
}

// Types over the proposed text in the patch dialog, with Enter for a line break, and presses
// OK. Returns the text as the program holds it.
std::string TypeAndOk(HWND patch) {
    HWND box = GetDlgItem(patch, tpl::kNewText);
    SendMessageW(box, EM_SETSEL, 0, -1);
    const std::wstring first = L"Lost? Call Terry";
    const std::wstring second = L"555-0100, reward";
    const auto counterShows = [&](std::size_t size) {
        const std::wstring start = L"Current size: " + std::to_wstring(size) + L" ";
        return test::WaitUntil(
            [&] { return test::TextOf(GetDlgItem(patch, tpl::kCounter)).rfind(start, 0) == 0; });
    };
    for (const wchar_t c : first) {
        PostMessageW(box, WM_CHAR, c, 1);
    }
    // The key's character comes from the dialog's loop, after whatever is queued already.
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(box, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(counterShows(first.size() + 1));
    for (const wchar_t c : second) {
        PostMessageW(box, WM_CHAR, c, 1);
    }
    const std::string typed = "Lost? Call Terry\n555-0100, reward";
    EXPECT_TRUE(counterShows(typed.size()));
    Screenshot(patch, "windows-patch-typed.png");
    Click(patch, tpl::kOk);
    EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(patch); }));
    return typed;
}

// The first message that starts with the search word, overwritten at its length with `typed`.
void ExpectPatched(const std::string& original, const std::string& patched,
                   const std::string& typed) {
    const std::size_t at = original.find("WARNING");
    ASSERT_NE(at, std::string::npos);
    const std::size_t length = original.find('\0', at) - at;
    ASSERT_GE(length, typed.size());
    std::string expected = original;
    expected.replace(at, length, typed + std::string(length - typed.size(), ' '));
    EXPECT_EQ(patched.size(), original.size());
    const auto differs =
        std::mismatch(patched.begin(), patched.end(), expected.begin(), expected.end());
    EXPECT_TRUE(patched == expected)
        << "the file differs from the sample with the typed text at byte "
        << (differs.first - patched.begin()) << "; the message is at " << at << ": \""
        << patched.substr(at, length) << "\"";
}

TEST(Win32Window, SearchTypeOkExitYesPatchesTheFileAndKeepsTheOldBytesAsBackup) {
    test::TempDir dir;
    // A copy of the program of its own: no settings file beside it.
    const std::string program = dir.File("tavlo.exe");
    std::filesystem::copy_file(test::PathOf(TAVLO_EXE_PATH), test::PathOf(program));
    const std::string original = test::ReadFile(TAVLO_SAMPLE_PATH);
    // In a folder named as a Polish user's are (Łódź): the start argument reaches the field,
    // the load and the save whole.
    const std::filesystem::path folder = test::PathOf(dir.File("\xC5\x81\xC3\xB3\x64\xC5\xBA"));
    std::filesystem::create_directory(folder);
    const std::string file = NativePathOf(folder / "unit.rgn");
    test::WriteFile(file, original);

    RunningProgram tavlo(program, file, dir.Path().string());
    ASSERT_TRUE(tavlo.Started());
    HWND main = test::WaitForWindow(tavlo.Id(), L"Tavlo");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(test::TextOf(GetDlgItem(main, main_dialog::kFileName)), test::PathOf(file).wstring());
    Screenshot(main, "windows-main.png");
    VisitAboutAndBrowse(tavlo, main, test::PathOf(file).wstring());

    Click(main, main_dialog::kSearch);
    HWND patch = test::WaitForWindow(tavlo.Id(), L"Confirm / edit patch");
    ASSERT_NE(patch, nullptr);
    Screenshot(patch, "windows-patch.png");
    const std::string typed = TypeAndOk(patch);
    // The title marks the patch that is not saved yet.
    EXPECT_TRUE(test::WaitUntil([&] { return test::TextOf(main) != L"Tavlo"; }));

    Click(main, main_dialog::kExit);
    HWND question = test::WaitForWindow(tavlo.Id(), L"Tavlo : Save changes ?");
    ASSERT_NE(question, nullptr);
    Screenshot(question, "windows-save-question.png");
    Click(question, IDYES);
    EXPECT_EQ(tavlo.Wait(), 0);
    ExpectPatched(original, test::ReadFile(file), typed);
    EXPECT_TRUE(test::ReadFile(NativePathOf(folder / "unit.bak")) == original);
}

// Windows opens .htm files, while it lives, with a copy command that puts the page it is given
// at `copy`: the help page View help opens lands there instead of in a browser. (The prefix is
// the tests' own, with no browser of its own to put back.)
class StandInBrowser {
public:
    explicit StandInBrowser(const std::wstring& copy) {
        Set(L".htm", L"TavloTestPage");
        Set(L"TavloTestPage\\shell\\open\\command",
            L"C:\\windows\\system32\\cmd.exe /c copy /y \"%1\" \"" + copy + L"\"");
    }
    ~StandInBrowser() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TavloTestPage");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".htm");
    }

private:
    static void Set(const wchar_t* key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
};

// Presses the keys together, as the keyboard does: down in order, up the other way round.
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> strokes;
    for (const WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        strokes.push_back(down);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        strokes.push_back(up);
    }
    SendInput(static_cast<UINT>(strokes.size()), strokes.data(), sizeof(INPUT));
}

bool MakeForeground(HWND window) {
    SetForegroundWindow(window);
    return test::WaitUntil([&] { return GetForegroundWindow() == window; });
}

// The keys the README promises, typed on the keyboard into the window: Alt+A opens the About
// box, F1 the help page in the browser.
TEST(Win32Window, AltAOpensTheAboutBoxAndF1TheHelp) {
    test::TempDir dir;
    const std::string program = dir.File("tavlo.exe");
    std::filesystem::copy_file(test::PathOf(TAVLO_EXE_PATH), test::PathOf(program));
    const std::string opened = dir.File("opened.htm");
    const StandInBrowser browser(test::PathOf(opened).wstring());

    RunningProgram tavlo(program, dir.File("unit.rgn"), dir.Path().string());
    ASSERT_TRUE(tavlo.Started());
    HWND main = test::WaitForWindow(tavlo.Id(), L"Tavlo");
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(MakeForeground(main));
    PressKeys({VK_MENU, 'A'});
    HWND about = test::WaitForWindow(tavlo.Id(), L"About Tavlo");
    ASSERT_NE(about, nullptr);
    Click(about, IDOK);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(about); }));

    ASSERT_TRUE(MakeForeground(main));
    PressKeys({VK_F1});
    EXPECT_TRUE(test::WaitUntil([&] { return std::filesystem::exists(test::PathOf(opened)); }));
    // The page the browser was given is the help page the program carries.
    const HelpFile& page = HelpFiles().front();
    const auto carried = FindResource(page.resourceName, page.resourceType);
    ASSERT_TRUE(carried.has_value());
    EXPECT_TRUE(test::ReadFile(opened) ==
                std::string(reinterpret_cast<const char*>(carried->data()), carried->size()));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(tavlo.Wait(), 0);
}

}  // namespace
}  // namespace tavlo
