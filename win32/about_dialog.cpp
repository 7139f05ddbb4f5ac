#include "win32/about_dialog.h"

#include "win32/wide_text.h"
#include "workflow/about_dialog_template.h"
#include "workflow/main_window_flow.h"

namespace tavlo {

namespace tpl = about_dialog_template;

INT_PTR Win32AboutDialog::Run(HWND owner) {
    return RunModal(owner, tpl::kTemplate);
}

bool Win32AboutDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            SetControlText(tpl::kVersionText, WideFromWindows1252(AboutVersionText()));
            CentreWindow(Window(), GetWindow(Window(), GW_OWNER));
            result = TRUE;  // the focus goes to OK
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) == tpl::kOk || LOWORD(wParam) == IDCANCEL) {
                EndDialog(IDOK);
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace tavlo
