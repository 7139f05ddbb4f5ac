#include "win32/windows1252_guard.h"

#include <commctrl.h>

#include <string>

#include "win32/wide_text.h"

namespace tavlo {

namespace {

constexpr UINT_PTR kGuardId = 1252;

// The clipboard's text, if it holds any.
std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Pastes what the clipboard holds without the characters the code page lacks; false when
// nothing had to be left out, so the control pastes as usual.
bool PasteFiltered(HWND field) {
    const std::wstring text = ClipboardText(field);
    std::wstring kept;
    for (const wchar_t unit : text) {
        if (IsWindows1252Unit(unit) || unit == L'\r' || unit == L'\n' || unit == L'\t') {
            kept += unit;
        }
    }
    if (kept.size() == text.size()) {
        return false;
    }
    MessageBeep(MB_OK);
    SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
    return true;
}

LRESULT CALLBACK GuardProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
    switch (message) {
        case WM_CHAR:
            // Control characters (Backspace, Enter, Ctrl+A ...) are the control's business.
            if (wParam >= 0x20 && !IsWindows1252Unit(static_cast<wchar_t>(wParam))) {
                MessageBeep(MB_OK);
                return 0;
            }
            break;
        case WM_PASTE:
            if (PasteFiltered(field)) {
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(field, &GuardProcedure, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace

void GuardWindows1252(HWND field) {
    wchar_t className[16] = {};
    GetClassNameW(field, className, 16);
    if (lstrcmpiW(className, L"ComboBox") == 0) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(field, &info)) {
            return;
        }
        field = info.hwndItem;
    }
    SetWindowSubclass(field, &GuardProcedure, kGuardId, 0);
}

}  // namespace tavlo
