#pragma once

#include <span>

// A dialog described as data, the way the desktop platform's dialog templates describe one: a
// caption, a font, a size and the controls in tab order, all positions in dialog units.
namespace tavlo {

enum class ControlKind {
    Icon,           // the program icon
    Static,         // a line of text that is not a label of another control
    Label,          // a text whose "&" mnemonic moves the focus to the next control
    Edit,           // a one-line edit field
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
    kAutoHScroll = 1u << 6  // the edit scrolls sideways; without it typing stops at its width
};

inline constexpr int kNoControlId = -1;

struct ControlTemplate {
    int id;  // kNoControlId for a label that nothing refers to
    ControlKind kind;
    const char* text;  // Windows-1252, "&" before a mnemonic
    int x, y, width, height;
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontFamily;
    int fontPointSize;
    int width, height;
    std::span<const ControlTemplate> controls;  // in tab order
};

}  // namespace tavlo
