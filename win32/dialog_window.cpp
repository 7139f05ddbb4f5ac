#include "win32/dialog_window.h"

#include "win32/dialog_resource.h"

namespace tavlo {

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

DialogWindow::~DialogWindow() {
    if (modeless_ && window_ != nullptr) {
        DestroyWindow(window_);
    }
}

INT_PTR DialogWindow::RunModal(HWND owner, const DialogTemplate& dialog) {
    const DialogResource resource(dialog);
    return DialogBoxIndirectParamW(ProgramInstance(), resource.Get(), owner, &Procedure,
                                   reinterpret_cast<LPARAM>(this));
}

HWND DialogWindow::CreateModeless(HWND owner, const DialogTemplate& dialog) {
    const DialogResource resource(dialog);
    modeless_ = true;
    HWND window = CreateDialogIndirectParamW(ProgramInstance(), resource.Get(), owner, &Procedure,
                                             reinterpret_cast<LPARAM>(this));
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
    }
    return window;
}

void DialogWindow::EndDialog(INT_PTR result) {
    if (modeless_) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    ::EndDialog(window_, result);
}

std::wstring DialogWindow::ControlText(int id) const {
    HWND control = Control(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void DialogWindow::SetControlText(int id, std::wstring_view text) {
    SetWindowTextW(Control(id), std::wstring(text).c_str());
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<DialogWindow*>(lParam)->window_ = window;
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG (the font, the frame)
    }
    INT_PTR result = FALSE;
    const bool handled = self->OnMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
    }
    if (!handled) {
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
    // WM_INITDIALOG answers whether the dialog manager sets the focus, WM_CTLCOLOR... a brush:
    // both through the procedure's result.
    return result;
}

void CentreWindow(HWND window, HWND over) {
    RECT area;
    if (over != nullptr && IsWindowVisible(over) && !IsIconic(over)) {
        GetWindowRect(over, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavlo
