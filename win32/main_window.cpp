#include "win32/main_window.h"

#include <shellapi.h>

#include <iterator>
#include <vector>

#include "core/windows/win_io.h"
#include "win32/about_dialog.h"
#include "win32/dialog_resource.h"
#include "win32/wide_text.h"
#include "win32/windows1252_guard.h"
#include "workflow/help_flow.h"
#include "workflow/main_dialog_template.h"
#include "workflow/settings_editor_flow.h"

namespace tavlo {

namespace {

namespace tpl = main_dialog_template;

// The system menu's About entry: any command whose identifier, its low four bits cleared, is 16.
constexpr UINT kAboutCommand = 16;

// The commands of the window's keys: this plus the key's place in MainWindowKeys, clear of
// every control's id.
constexpr int kFirstKeyCommand = 40001;

// The window whose keys the modal loop of this thread hands over: one main window at a time.
thread_local Win32MainWindow* windowWithKeys = nullptr;

ACCEL AcceleratorOf(const CommandKey& key, int command) {
    if (key.functionKey > 0) {
        return {FVIRTKEY, static_cast<WORD>(VK_F1 + key.functionKey - 1),
                static_cast<WORD>(command)};
    }
    // A letter's virtual key is its capital.
    return {FVIRTKEY | FALT, static_cast<WORD>(key.altLetter), static_cast<WORD>(command)};
}

int FieldId(MainField field) {
    switch (field) {
        case MainField::FileName:
            return tpl::kFileName;
        case MainField::SearchText:
            return tpl::kSearchText;
    }
    return tpl::kFileName;  // not reached: every field is named above
}

}  // namespace

Win32MainWindow::Win32MainWindow(std::string programPath, FirmwareImage& image,
                                 Win32DesktopServices& desktop)
    : desktop_(desktop), flow_(std::move(programPath), image, *this, desktop, confirmer_) {}

void Win32MainWindow::Run() {
    RunModal(nullptr, tpl::kTemplate);
}

void Win32MainWindow::OnInitDialog() {
    desktop_.SetOwner(Window());
    programs_.SetOwner(Window());
    confirmer_.SetOwner(Window());
    // A window without an owner: its own button on the task bar.
    SetWindowLongPtrW(Window(), GWL_EXSTYLE,
                      GetWindowLongPtrW(Window(), GWL_EXSTYLE) | WS_EX_APPWINDOW);
    if (HMENU menu = GetSystemMenu(Window(), FALSE)) {
        wchar_t about[64] = {};
        if (LoadStringW(ProgramInstance(), kAboutMenuTextId, about, 64) > 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, kAboutCommand, about);
        }
    }
    icon_ = static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(kProgramIconId),
                                          IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                          GetSystemMetrics(SM_CYICON), LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(kProgramIconId),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    // The search text is the receiver's, in Windows-1252; the file name takes any character.
    GuardWindows1252(Control(tpl::kSearchText));
    DragAcceptFiles(Window(), TRUE);
    TakeKeys();
    flow_.Start();
    CentreWindow(Window(), nullptr);
    SetFocus(Control(tpl::kFileName));
}

std::string Win32MainWindow::FieldText(MainField field) const {
    switch (field) {
        case MainField::FileName:
            return Utf8(ControlText(tpl::kFileName));
        case MainField::SearchText:
            break;
    }
    return Windows1252FromWide(ControlText(tpl::kSearchText));
}

void Win32MainWindow::SetFieldText(MainField field, std::string_view text) {
    switch (field) {
        case MainField::FileName:
            SetControlText(tpl::kFileName, Wide(std::string(text)));
            // Typing stops at 128 characters; a longer name put in by the program stays whole.
            SendMessageW(Control(tpl::kFileName), EM_LIMITTEXT, kMaxFieldLength, 0);
            break;
        case MainField::SearchText:
            SetControlText(tpl::kSearchText, WideFromWindows1252(text));
            break;  // typing stops at the field's width
    }
}

void Win32MainWindow::SetSearchWords(const std::vector<std::string>& words) {
    HWND list = Control(tpl::kSearchText);
    const std::wstring typed = ControlText(tpl::kSearchText);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& word : words) {
        SendMessageW(list, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WideFromWindows1252(word).c_str()));
    }
    SetControlText(tpl::kSearchText, typed);
}

void Win32MainWindow::SetWelcome(std::string_view text) {
    SetControlText(tpl::kWelcome, WideFromWindows1252(text));
}

void Win32MainWindow::FocusField(MainField field) {
    HWND control = Control(FieldId(field));
    SendMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    switch (field) {
        case MainField::FileName:
            SendMessageW(control, EM_SETSEL, 0, -1);  // to be typed over
            break;
        case MainField::SearchText:
            break;
    }
}

void Win32MainWindow::Close() {
    EndDialog(IDOK);
}

void Win32MainWindow::ShowPatchPending(bool pending) {
    // Marked the way Windows programs mark an unsaved document: a star before the title.
    const std::wstring title = WideFromWindows1252(tpl::kTemplate.caption);
    SetWindowTextW(Window(), ((pending ? L"*" : L"") + title).c_str());
}

void Win32MainWindow::TakeKeys() {
    std::vector<ACCEL> table;
    for (const CommandKey& key : MainWindowKeys()) {
        table.push_back(AcceleratorOf(key, kFirstKeyCommand + static_cast<int>(table.size())));
    }
    keys_ = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    // A dialog's modal loop has no place for an accelerator table; it offers every message to
    // the thread's message filter first.
    windowWithKeys = this;
    keyFilter_ = SetWindowsHookExW(WH_MSGFILTER, &FilterKeys, nullptr, GetCurrentThreadId());
}

void Win32MainWindow::ReleaseKeys() {
    if (keyFilter_ != nullptr) {
        UnhookWindowsHookEx(keyFilter_);
        keyFilter_ = nullptr;
    }
    if (keys_ != nullptr) {
        DestroyAcceleratorTable(keys_);
        keys_ = nullptr;
    }
    if (windowWithKeys == this) {
        windowWithKeys = nullptr;
    }
}

LRESULT CALLBACK Win32MainWindow::FilterKeys(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    Win32MainWindow* window = windowWithKeys;
    // Only keys meant for this window or one of its fields: a box or dialog over it keeps its own.
    if (code == MSGF_DIALOGBOX && window != nullptr && window->keys_ != nullptr &&
        (message->hwnd == window->Window() || IsChild(window->Window(), message->hwnd)) &&
        TranslateAcceleratorW(window->Window(), window->keys_, message)) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Win32MainWindow::RunCommand(WindowCommand command) {
    RunWindowCommand(command, desktop_, programs_, [this] { ShowAbout(); });
}

void Win32MainWindow::ShowAbout() {
    Win32AboutDialog about;
    about.Run(Window());
}

void Win32MainWindow::OnDropFiles(HDROP drop) {
    // One file names the file to patch; several, or a folder, are not taken.
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            flow_.TakeFilePath(Utf8(path));
        }
    }
    DragFinish(drop);
}

bool Win32MainWindow::OnCommand(int id, int notification) {
    switch (id) {
        case tpl::kBrowse:
            flow_.Browse();
            return true;
        case tpl::kSearch:
            flow_.Search();
            return true;
        case tpl::kViewHelp:
            RunCommand(WindowCommand::ViewHelp);
            return true;
        case tpl::kEditSettings:
            EditSettings(flow_, programs_);
            return true;
        case tpl::kExit:
        case IDCANCEL:  // Escape, the close box, Alt+F4: a pending patch is asked about first
            flow_.Exit();
            return true;
        case tpl::kIcon:
            if (notification == STN_CLICKED) {
                ShowAbout();
            }
            return true;
        default:
            if (const auto keys = MainWindowKeys();
                id >= kFirstKeyCommand && id - kFirstKeyCommand < std::ssize(keys)) {
                RunCommand(keys[static_cast<std::size_t>(id - kFirstKeyCommand)].command);
                return true;
            }
            return false;
    }
}

bool Win32MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = FALSE;  // the focus is set
            return true;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == kAboutCommand) {
                ShowAbout();
                return true;
            }
            return false;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return true;
        case WM_DESTROY:
            ReleaseKeys();
            return false;
        default:
            (void)lParam;
            return false;
    }
}

}  // namespace tavlo
