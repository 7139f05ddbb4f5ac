// The dialogs as the dialog manager builds them from the program's templates: every control
// where the template puts it, of the right class, in the template's tab order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/dialog_window.h"
#include "win32/wide_text.h"
#include "workflow/about_dialog_template.h"
#include "workflow/main_dialog_template.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {
namespace {

class PlainDialog : public DialogWindow {
protected:
    bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) override { return false; }
};

std::wstring ClassOf(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return name;
}

const wchar_t* ExpectedClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::MultiLineEdit:
            return L"Edit";
        case ControlKind::PushButton:
        case ControlKind::DefaultButton:
            return L"Button";
        case ControlKind::DropDownCombo:
            return L"ComboBox";
        default:
            return L"Static";
    }
}

RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Each control of the template: there, of its class, where the dialog manager puts the
// template's dialog units, the default button the dialog's default.
void CheckControls(HWND window, const DialogTemplate& dialog) {
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == kNoControlId) {
            continue;
        }
        SCOPED_TRACE(control.id);
        HWND child = GetDlgItem(window, control.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(ClassOf(child), ExpectedClass(control.kind));
        // The dialog manager turns each of position and size into pixels on its own.
        RECT expected{control.x, control.y, control.width, control.height};
        MapDialogRect(window, &expected);
        const RECT actual = ClientRectOf(window, child);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        // An icon takes the icon's size, a combo box's height is its field's.
        if (control.kind != ControlKind::Icon) {
            EXPECT_EQ(actual.right - actual.left, expected.right);
        }
        if (control.kind != ControlKind::Icon && control.kind != ControlKind::DropDownCombo) {
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
        if (control.kind == ControlKind::DefaultButton) {
            EXPECT_EQ(LOWORD(SendMessageW(window, DM_GETDEFID, 0, 0)), control.id);
        }
    }
}

// Tab goes round the tab stops in the template's order; a label's mnemonic leads to the
// control after it, or to its buddy.
void CheckTabOrderAndMnemonics(HWND window, const DialogTemplate& dialog) {
    std::vector<int> tabOrder;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id != kNoControlId && (control.style & kTabStop)) {
            tabOrder.push_back(control.id);
        }
    }
    HWND at = GetDlgItem(window, tabOrder.front());
    for (std::size_t i = 1; i <= tabOrder.size(); ++i) {
        at = GetNextDlgTabItem(window, at, FALSE);
        EXPECT_EQ(GetDlgCtrlID(at), tabOrder[i % tabOrder.size()]) << "tab stop " << i;
    }
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const ControlTemplate& label = dialog.controls[i];
        if (label.kind != ControlKind::Label) {
            continue;
        }
        const int target =
            label.buddyId != kNoControlId ? label.buddyId : dialog.controls[i + 1].id;
        HWND after = GetWindow(GetDlgItem(window, target), GW_HWNDPREV);
        wchar_t text[64] = {};
        GetWindowTextW(after, text, 64);
        EXPECT_EQ(text, WideFromWindows1252(label.text)) << "before control " << target;
    }
}

TEST(DialogResource, EveryDialogIsBuiltAsItsTemplateDescribesIt) {
    const struct {
        const char* rule;
        const DialogTemplate& dialog;
    } rows[] = {
        {"main window", main_dialog_template::kTemplate},
        {"About box", about_dialog_template::kTemplate},
        {"patch dialog", patch_dialog_template::kTemplate},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        PlainDialog dialog;
        HWND window = dialog.CreateModeless(nullptr, row.dialog);
        ASSERT_NE(window, nullptr);
        wchar_t caption[64] = {};
        GetWindowTextW(window, caption, 64);
        EXPECT_EQ(caption, WideFromWindows1252(row.dialog.caption));
        CheckControls(window, row.dialog);
        CheckTabOrderAndMnemonics(window, row.dialog);
    }
}

}  // namespace
}  // namespace tavlo
