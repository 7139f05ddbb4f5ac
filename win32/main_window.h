#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

#include "win32/dialog_window.h"
#include "win32/patch_dialog.h"
#include "win32/win32_desktop_programs.h"
#include "win32/win32_desktop_services.h"
#include "workflow/main_window_flow.h"
#include "workflow/main_window_keys.h"

namespace tavlo {

class FirmwareImage;

// The program's one window on Windows: the firmware file, the start of the message to search
// for, and the commands. What the commands do is the main window's flow; this dialog shows its
// fields, passes the buttons on, and owns the message boxes and dialogs the flow opens.
class Win32MainWindow : public DialogWindow, public MainWindowView {
public:
    // `programPath`: the running program's path (UTF-8); it locates the settings file and names
    // the program in messages.
    Win32MainWindow(std::string programPath, FirmwareImage& image, Win32DesktopServices& desktop);

    void SetStartupFile(std::optional<std::string> nativePath) {
        flow_.SetStartupFile(std::move(nativePath));
    }
    // Runs the window until Exit (or another way of leaving it) closes it.
    void Run();

    // The window as the flow sees it.
    std::string FieldText(MainField field) const override;
    void SetFieldText(MainField field, std::string_view text) override;
    void SetSearchWords(const std::vector<std::string>& words) override;
    void SetWelcome(std::string_view text) override;
    void FocusField(MainField field) override;
    void Close() override;
    void ShowPatchPending(bool pending) override;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnInitDialog();
    bool OnCommand(int id, int notification);
    void RunCommand(WindowCommand command);
    void ShowAbout();
    void OnDropFiles(HDROP drop);
    // The window's keys (MainWindowKeys) as an accelerator table, which the dialog's modal loop
    // hands each of the window's keystrokes to; their commands come as WM_COMMAND.
    void TakeKeys();
    void ReleaseKeys();
    static LRESULT CALLBACK FilterKeys(int code, WPARAM wParam, LPARAM lParam);

    Win32DesktopServices& desktop_;
    Win32DesktopPrograms programs_;
    Win32PatchConfirmer confirmer_;
    MainWindowFlow flow_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HACCEL keys_ = nullptr;
    HHOOK keyFilter_ = nullptr;
};

}  // namespace tavlo
