#include "win32/dialog_resource.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/wide_text.h"

namespace tavlo {

namespace {

// The predefined control classes, by the ordinals a template names them with.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;

struct ControlClass {
    WORD ordinal;
    DWORD style;
};

ControlClass ClassOf(const ControlTemplate& control) {
    const unsigned s = control.style;
    const auto when = [s](unsigned bit, DWORD style) -> DWORD { return (s & bit) ? style : 0; };
    switch (control.kind) {
        case ControlKind::Icon:
            // A click on the icon is a command of its own (the About box).
            return {kStaticClass, SS_ICON | SS_NOTIFY};
        case ControlKind::Static:
        case ControlKind::Label:
            return {kStaticClass, ((s & kCentred) ? DWORD{SS_CENTER} : DWORD{SS_LEFT}) |
                                      when(kVCentred, SS_CENTERIMAGE) |
                                      when(kSunken, SS_SUNKEN | WS_BORDER) |
                                      when(kNoPrefix, SS_NOPREFIX)};
        case ControlKind::Edit:
            return {kEditClass, WS_BORDER | when(kAutoHScroll, ES_AUTOHSCROLL)};
        case ControlKind::MultiLineEdit:
            // The found message is read-only rather than disabled: it stays readable, scrollable
            // and copyable.
            return {kEditClass, ES_MULTILINE | ES_AUTOVSCROLL | when(kAutoHScroll, ES_AUTOHSCROLL) |
                                    when(kReadOnly, ES_READONLY) | when(kBorder, WS_BORDER) |
                                    when(kVScrollBar, WS_VSCROLL) |
                                    when(kWantReturn, ES_WANTRETURN)};
        case ControlKind::PushButton:
            return {kButtonClass, BS_PUSHBUTTON};
        case ControlKind::DefaultButton:
            return {kButtonClass, BS_DEFPUSHBUTTON};
        case ControlKind::DropDownCombo:
            // No CBS_AUTOHSCROLL: typing stops at the field's visible width.
            return {kComboBoxClass, CBS_DROPDOWN | WS_VSCROLL | when(kSortedList, CBS_SORT)};
    }
    return {kStaticClass, SS_LEFT};
}

}  // namespace

std::vector<const ControlTemplate*> CreationOrder(std::span<const ControlTemplate> controls) {
    std::vector<const ControlTemplate*> order;
    for (const ControlTemplate& control : controls) {
        if (control.buddyId == kNoControlId) {
            order.push_back(&control);
        }
    }
    for (const ControlTemplate& label : controls) {
        if (label.buddyId == kNoControlId) {
            continue;
        }
        const auto buddy = std::find_if(order.begin(), order.end(), [&](const auto* control) {
            return control->id == label.buddyId;
        });
        order.insert(buddy, &label);
    }
    return order;
}

DialogResource::DialogResource(const DialogTemplate& dialog) {
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK;
    if (dialog.style & kResizableFrame) {
        style |= WS_THICKFRAME;
    }
    Add(1);       // dlgVer
    Add(0xFFFF);  // signature: the extended template
    AddDword(0);  // helpID
    AddDword(0);  // exStyle
    AddDword(style);
    Add(static_cast<WORD>(dialog.controls.size()));
    for (const int value : {0, 0, dialog.width, dialog.height}) {
        Add(static_cast<WORD>(value));
    }
    Add(0);  // no menu
    Add(0);  // the dialog class
    AddText(dialog.caption);
    Add(static_cast<WORD>(dialog.fontPointSize));
    Add(FW_NORMAL);
    Add(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, then the character set
    AddText(dialog.fontFamily);
    for (const ControlTemplate* control : CreationOrder(dialog.controls)) {
        AddControl(*control);
    }
}

void DialogResource::AddControl(const ControlTemplate& control) {
    AlignToDword();
    const ControlClass kind = ClassOf(control);
    AddDword(0);  // helpID
    AddDword(0);  // exStyle
    AddDword(WS_CHILD | WS_VISIBLE | kind.style | ((control.style & kTabStop) ? WS_TABSTOP : 0));
    for (const int value : {control.x, control.y, control.width, control.height}) {
        Add(static_cast<WORD>(value));
    }
    AddDword(static_cast<DWORD>(control.id));  // kNoControlId is the usual -1
    AddOrdinal(kind.ordinal);
    if (control.kind == ControlKind::Icon) {
        AddOrdinal(kProgramIconId);
    } else {
        AddText(control.text);
    }
    Add(0);  // no creation data
}

void DialogResource::AddDword(DWORD value) {
    Add(LOWORD(value));
    Add(HIWORD(value));
}

void DialogResource::AddText(const char* windows1252) {
    for (const wchar_t c : WideFromWindows1252(windows1252 ? windows1252 : "")) {
        Add(static_cast<WORD>(c));
    }
    Add(0);
}

void DialogResource::AddOrdinal(WORD ordinal) {
    Add(0xFFFF);
    Add(ordinal);
}

void DialogResource::AlignToDword() {
    if (words_.size() % 2 != 0) {
        Add(0);
    }
}

}  // namespace tavlo
