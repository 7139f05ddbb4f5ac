#include "win32/dialog_window.h"

#include <algorithm>

#include "win32/dialog_resource.h"
#include "win32/wide_text.h"

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
    template_ = &dialog;
    const DialogResource resource(dialog);
    return DialogBoxIndirectParamW(ProgramInstance(), resource.Get(), owner, &Procedure,
                                   reinterpret_cast<LPARAM>(this));
}

HWND DialogWindow::CreateModeless(HWND owner, const DialogTemplate& dialog) {
    template_ = &dialog;
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

std::vector<HWND> DialogWindow::FindControlWindows() const {
    // The dialog manager creates the controls in the resource's order, each below the last.
    std::vector<HWND> created;
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        created.push_back(child);
    }
    const std::vector<const ControlTemplate*> order = CreationOrder(template_->controls);
    std::vector<HWND> windows(template_->controls.size(), nullptr);
    for (std::size_t i = 0; i < order.size() && i < created.size(); ++i) {
        windows[static_cast<std::size_t>(order[i] - template_->controls.data())] = created[i];
    }
    return windows;
}

LaidOutDialog DialogWindow::LayOutControls() const {
    // Each of position and size in pixels on its own, as the dialog manager turns them.
    const auto pixels = [this](int x, int y, int width, int height) {
        RECT units{x, y, width, height};
        MapDialogRect(window_, &units);
        return PixelRect{units.left, units.top, units.left + units.right, units.top + units.bottom};
    };
    const PixelRect client = pixels(0, 0, template_->width, template_->height);
    LaidOutDialog dialog{{}, client.right, client.bottom};
    const std::vector<HWND>& windows = controlWindows_;
    HDC surface = GetDC(window_);
    const HGDIOBJ oldFont =
        SelectObject(surface, reinterpret_cast<HGDIOBJ>(SendMessageW(window_, WM_GETFONT, 0, 0)));
    for (std::size_t i = 0; i < template_->controls.size(); ++i) {
        const ControlTemplate& control = template_->controls[i];
        LaidOutControl placed{pixels(control.x, control.y, control.width, control.height)};
        if (control.kind == ControlKind::Icon && windows[i] != nullptr) {
            const PixelRect now = ClientRectOf(window_, windows[i]);
            placed.rect.right = placed.rect.left + (now.right - now.left);
            placed.rect.bottom = placed.rect.top + (now.bottom - now.top);
        }
        if (control.kind == ControlKind::Label) {
            RECT text{};  // "&" marks the mnemonic and takes no room, as the label draws it
            DrawTextW(surface, WideFromWindows1252(control.text).c_str(), -1, &text,
                      DT_CALCRECT | DT_SINGLELINE);
            placed.labelTextWidth = text.right - text.left;
        }
        dialog.controls.push_back(placed);
    }
    SelectObject(surface, oldFont);
    ReleaseDC(window_, surface);
    return FitLabelTexts(std::move(dialog));
}

void DialogWindow::PlaceControls(const LaidOutDialog& dialog) {
    const std::vector<HWND>& windows = controlWindows_;
    for (std::size_t i = 0; i < windows.size() && i < dialog.controls.size(); ++i) {
        if (windows[i] == nullptr) {
            continue;
        }
        const PixelRect& to = dialog.controls[i].rect;
        const bool dropDown = template_->controls[i].kind == ControlKind::DropDownCombo;
        const PixelRect now = ClientRectOf(window_, windows[i]);
        // A drop-down box's window is as high as its field; the height it is given is its list's.
        if (to == now ||
            (dropDown && to.left == now.left && to.top == now.top && to.right == now.right)) {
            continue;
        }
        MoveWindow(windows[i], to.left, to.top, to.right - to.left, to.bottom - to.top, FALSE);
    }
    RECT client;
    GetClientRect(window_, &client);
    if (dialog.clientWidth != client.right || dialog.clientHeight != client.bottom) {
        // The frame grows by as much as the client area.
        RECT frame;
        GetWindowRect(window_, &frame);
        SetWindowPos(window_, nullptr, 0, 0,
                     frame.right - frame.left + dialog.clientWidth - client.right,
                     frame.bottom - frame.top + dialog.clientHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        KeepOnDisplay();
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void DialogWindow::KeepOnDisplay() {
    // A dialog that has grown past its display's edge moves back in, its corner first.
    MONITORINFO display{};
    display.cbSize = sizeof display;
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &display)) {
        return;
    }
    const RECT& area = display.rcWork;
    RECT frame;
    GetWindowRect(window_, &frame);
    const LONG left =
        std::max(area.left, std::min(frame.left, area.right - (frame.right - frame.left)));
    const LONG top =
        std::max(area.top, std::min(frame.top, area.bottom - (frame.bottom - frame.top)));
    if (left != frame.left || top != frame.top) {
        SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        self->window_ = window;
        // Before the dialog adds windows of its own.
        self->controlWindows_ = self->FindControlWindows();
        self->PlaceControls(self->LayOutControls());
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

PixelRect ClientRectOf(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

int DisplayDpiOf(HWND window) {
    // Windows 10 (1607) and later know each display's; earlier ones one for the whole system.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr) {
        if (const UINT dpi = dpiForWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC surface = GetDC(window);
    const int dpi = GetDeviceCaps(surface, LOGPIXELSY);
    ReleaseDC(window, surface);
    return dpi;
}

}  // namespace tavlo
