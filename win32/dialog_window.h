#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "workflow/dialog_places.h"
#include "workflow/dialog_template.h"

namespace tavlo {

// A dialog of the program: built from its template, run modally (or created modeless, as the
// tests do), its messages handed to the object that runs it. Before it hears of its
// initialisation, every label has room for its text on one line (FitLabelTexts).
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

    // The controls where the template puts them in the dialog's font as it is now, in template
    // order, each label's column wide enough for its text, and the client area's size. An icon
    // keeps the size of its picture; a drop-down box's height includes its list.
    LaidOutDialog LayOutControls() const;
    // Puts the controls and the client area's size where `dialog` says (in template order).
    void PlaceControls(const LaidOutDialog& dialog);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The control windows in template order, as the dialog manager made them.
    std::vector<HWND> FindControlWindows() const;
    void KeepOnDisplay();

    HWND window_ = nullptr;
    std::vector<HWND> controlWindows_;  // in template order
    const DialogTemplate* template_ = nullptr;
    bool modeless_ = false;
};

// A control's rectangle in the client pixels of `dialog`, wherever it is at this moment.
PixelRect ClientRectOf(HWND dialog, HWND control);

// The dots per inch of the display `window` is on (of the system, where Windows cannot say per
// display).
int DisplayDpiOf(HWND window);

// The instance whose resources the dialogs use: the running program's.
HINSTANCE ProgramInstance();

// Puts `window` in the middle of `over` (of the screen's work area when there is none).
void CentreWindow(HWND window, HWND over);

}  // namespace tavlo
