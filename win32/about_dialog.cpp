#include "win32/about_dialog.h"

#include "core/version_info.h"
#include "win32/wide_text.h"
#include "workflow/about_dialog_template.h"

namespace tavlo {

INT_PTR Win32AboutDialog::Run(HWND owner) {
    return RunModal(owner, kAboutDialogTemplate);
}

bool Win32AboutDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            SetControlText(kIdVersionText,
                           WideFromWindows1252("Tavlo Version " + GetProductVersion()));
            CentreWindow(Window(), GetWindow(Window(), GW_OWNER));
            result = TRUE;  // the focus goes to OK
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdAboutOk || LOWORD(wParam) == IDCANCEL) {
                EndDialog(IDOK);
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace tavlo
