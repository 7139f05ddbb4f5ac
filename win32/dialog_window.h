#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "workflow/dialog_template.h"

namespace tavlo {

// A dialog of the program: built from its template, run modally (or created modeless, as the
// tests do), its messages handed to the object that runs it.
class DialogWindow {
public:
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow();

    // Runs the dialog modally over `owner` and returns the value it ended with, or -1 when the
    // dialog could not be made.
    INT_PTR RunModal(HWND owner, const DialogTemplate& dialog);
    // Makes the dialog and shows it without a modal loop of its own; nullptr on failure.
    HWND CreateModeless(HWND owner, const DialogTemplate& dialog);
    void EndDialog(INT_PTR result);

    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }

    std::wstring ControlText(int id) const;
    void SetControlText(int id, std::wstring_view text);

protected:
    // A message for the dialog: true (and `result`) when handled here, false for the dialog
    // manager's own handling.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool modeless_ = false;
};

// The instance whose resources the dialogs use: the running program's.
HINSTANCE ProgramInstance();

// Puts `window` in the middle of `over` (of the screen's work area when there is none).
void CentreWindow(HWND window, HWND over);

}  // namespace tavlo
