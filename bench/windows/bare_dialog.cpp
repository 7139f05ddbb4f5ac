// The yardstick for tavlo.exe's start-up: a Win32 program that shows one dialog (a line of text
// and a button, in the same font as Tavlo's) and nothing else.
#include <windows.h>

#include "win32/dialog_window.h"
#include "workflow/dialog_template.h"

namespace {

constexpr tavlo::ControlTemplate kControls[] = {
    {100, tavlo::ControlKind::Static, "A bare dialog", 7, 7, 120, 10, tavlo::kNoStyle},
    {IDOK, tavlo::ControlKind::DefaultButton, "OK", 7, 24, 50, 14, tavlo::kTabStop},
};
constexpr tavlo::DialogTemplate kTemplate{1, "Bare dialog", "MS Sans Serif", 8, 140, 45, kControls};

class BareDialog : public tavlo::DialogWindow {
protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) override {
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            EndDialog(IDOK);
            return true;
        }
        return false;
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    BareDialog dialog;
    dialog.RunModal(nullptr, kTemplate);
    return 0;
}
