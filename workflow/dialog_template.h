#pragma once

#include <span>

// A dialog described as data, the way the desktop platform's dialog templates describe one: a
// caption, a font, a size and the controls in tab order, all positions in dialog units.
namespace tavlo {

enum class ControlKind {
    Icon,           // the program icon
    Static,         // a line of text that is not a label of another control
    Label,          // a text whose "&" mnemonic focuses the next control (or its buddy)
    Edit,           // a one-line edit field
    MultiLineEdit,  // an edit box of several lines; Tab moves on to the next control
    PushButton,     // a push button
    DefaultButton,  // the push button that Enter presses
    DropDownCombo,  // an edit field with a drop-down list; its height includes the list
};

// Style bits beyond the kind.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kTabStop = 1u << 0,
    kCentred = 1u << 1,     // text centred horizontally
    kVCentred = 1u << 2,    // text centred vertically
    kSunken = 1u << 3,      // sunken frame with a border
    kNoPrefix = 1u << 4,    // "&" is shown as it is, never a mnemonic
    kSortedList = 1u << 5,  // the drop-down list keeps its entries sorted
    // The edit scrolls sideways. Without it a one-line field stops taking characters at its
    // width, and a multi-line box wraps its lines at its width.
    kAutoHScroll = 1u << 6,
    // Multi-line edit boxes only:
    kReadOnly = 1u << 7,     // the template's disabled box: readable, scrollable, copyable, fixed
    kBorder = 1u << 8,       // a sunken border around the box
    kVScrollBar = 1u << 9,   // a vertical scroll bar, always shown
    kWantReturn = 1u << 10,  // Enter inserts a line break instead of pressing the default button
    // One-line fields: the field holds a file name, in any script, not a text for the receiver
    // (which holds Windows-1252 characters only).
    kFileNameText = 1u << 11
};

inline constexpr int kNoControlId = -1;

struct ControlTemplate {
    int id;  // kNoControlId for a label that nothing refers to
    ControlKind kind;
    const char* text;  // Windows-1252, "&" before a mnemonic
    int x, y, width, height;
    unsigned style;
    // The widget's object name, for a dialog whose code and tests find its controls by name;
    // none gives a control with an id the name "control<id>".
    const char* objectName = nullptr;
    // A label's buddy: the control its mnemonic leads to when that is not the next one.
    int buddyId = kNoControlId;
};

// Style bits of the dialog as a whole.
enum DialogStyle : unsigned {
    kNoDialogStyle = 0,
    // A sizing frame. Nothing moves with the size: the controls keep their places.
    kResizableFrame = 1u << 0,
    // The dialog keeps the application's font and never asks for the template's; the dialog units
    // scale every control to it.
    kApplicationFont = 1u << 1,
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontFamily;
    int fontPointSize;
    int width, height;
    std::span<const ControlTemplate> controls;  // in tab order
    unsigned style = kNoDialogStyle;
};

}  // namespace tavlo
