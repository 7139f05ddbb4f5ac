// The dialogs as the dialog manager builds them from the program's templates: every control
// where the template puts it (each label with room for its text), of the right class, in the
// template's tab order; at whatever dots per inch the display has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/dialog_window.h"
#include "win32/wide_text.h"
#include "workflow/about_dialog_template.h"
#include "workflow/dialog_places.h"
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

// The window of the template's control `index`: a label lies just before the control its
// mnemonic leads to.
HWND WindowOf(HWND window, const DialogTemplate& dialog, std::size_t index) {
    const ControlTemplate& control = dialog.controls[index];
    if (control.kind != ControlKind::Label) {
        return GetDlgItem(window, control.id);
    }
    const int target =
        control.buddyId != kNoControlId ? control.buddyId : dialog.controls[index + 1].id;
    return GetWindow(GetDlgItem(window, target), GW_HWNDPREV);
}

// The width of a label's text on one line in the dialog's font, "&" left out.
int TextWidthOf(HWND window, const char* text) {
    std::wstring shown = WideFromWindows1252(text);
    std::erase(shown, L'&');
    HDC surface = GetDC(window);
    const HGDIOBJ old =
        SelectObject(surface, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(surface, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(surface, old);
    ReleaseDC(window, surface);
    return size.cx;
}

// Each control of the template: there, of its class, where the dialog manager puts the
// template's dialog units with every label's column wide enough for its text in the dialog's
// font (the rule itself is tested in tests/workflow), the default button the dialog's default.
void CheckControls(HWND window, const DialogTemplate& dialog) {
    LaidOutDialog expected;
    for (const ControlTemplate& control : dialog.controls) {
        // The dialog manager turns each of position and size into pixels on its own.
        RECT units{control.x, control.y, control.width, control.height};
        MapDialogRect(window, &units);
        expected.controls.push_back(
            {{units.left, units.top, units.left + units.right, units.top + units.bottom},
             control.kind == ControlKind::Label ? TextWidthOf(window, control.text) : 0});
    }
    RECT size{0, 0, dialog.width, dialog.height};
    MapDialogRect(window, &size);
    expected.clientWidth = size.right;
    expected.clientHeight = size.bottom;
    expected = FitLabelTexts(expected);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, expected.clientWidth);
    EXPECT_EQ(client.bottom, expected.clientHeight);
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const ControlTemplate& control = dialog.controls[i];
        if (control.id == kNoControlId && control.kind != ControlKind::Label) {
            continue;  // a line of text nothing refers to
        }
        SCOPED_TRACE(control.text[0] != 0 ? control.text : std::to_string(control.id).c_str());
        HWND child = WindowOf(window, dialog, i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(ClassOf(child), ExpectedClass(control.kind));
        const PixelRect& place = expected.controls[i].rect;
        const PixelRect actual = ClientRectOf(window, child);
        EXPECT_EQ(actual.left, place.left);
        EXPECT_EQ(actual.top, place.top);
        // An icon takes the icon's size, a combo box's height is its field's.
        if (control.kind != ControlKind::Icon) {
            EXPECT_EQ(actual.right, place.right);
        }
        if (control.kind != ControlKind::Icon && control.kind != ControlKind::DropDownCombo) {
            EXPECT_EQ(actual.bottom, place.bottom);
        }
        if (control.kind == ControlKind::Label) {  // its text on one line
            EXPECT_GE(actual.right - actual.left, expected.controls[i].labelTextWidth);
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
