#pragma once

#include <array>

// Dialog template 130, "Confirm / edit patch": the controls in template order, which is also the
// tab and mnemonic order. Positions and sizes are dialog units; the dialog turns them into pixels
// with the metrics of its font.
namespace tavlo::patch_dialog_template {

enum class Kind { Edit, StaticText, PushButton };

// Styles of a control, as the template gives them.
enum Style : unsigned {
    kNone = 0,
    kDisabled = 1u << 0,
    kBorder = 1u << 1,
    kTabStop = 1u << 2,
    kMultiLine = 1u << 3,
    kWantReturn = 1u << 4,   // Enter inserts a line break instead of pressing the default button
    kAutoHScroll = 1u << 5,  // no word wrap: the text scrolls sideways
    kAutoVScroll = 1u << 6,
    kVScrollBar = 1u << 7,
    kDefaultButton = 1u << 8,
};

// Control ids the dialog's code refers to.
enum Id : int {
    kNoId = -1,
    kOk = 1,
    kCancel = 2,
    kFindNext = 3,
    kNewText = 1004,
    kFoundText = 1005,
    kInfoText = 1006,
    kCounter = 1007,
    kPreviewLabel = 1011,
};

struct Control {
    int id;
    Kind kind;
    const char* text;  // Windows-1252, "&" marks the mnemonic
    int x, y, width, height;
    unsigned style;
    const char* objectName;  // how code and tests find the widget
};

inline constexpr const char* kCaption = "Confirm / edit patch";
inline constexpr int kWidth = 324;
inline constexpr int kHeight = 202;

inline constexpr std::array<Control, 9> kControls = {{
    {kFoundText, Kind::Edit, "", 7, 17, 146, 66,
     kDisabled | kBorder | kMultiLine | kAutoVScroll | kAutoHScroll, "foundText"},
    {kNewText, Kind::Edit, "", 7, 96, 146, 85,
     kBorder | kTabStop | kMultiLine | kWantReturn | kAutoHScroll | kVScrollBar, "newText"},
    {kCounter, Kind::StaticText, "0", 7, 189, 130, 10, kNone, "counter"},
    {kPreviewLabel, Kind::StaticText, "Preview:", 159, 7, 117, 9, kNone, "previewLabel"},
    {kCancel, Kind::PushButton, "&Cancel", 213, 185, 50, 14, kTabStop, "cancel"},
    {kOk, Kind::PushButton, "&OK", 267, 185, 50, 14, kTabStop | kDefaultButton, "ok"},
    {kInfoText, Kind::StaticText, "Patch info goes here", 7, 7, 137, 10, kNone, "infoText"},
    {kNoId, Kind::StaticText, "&Edit new contents here:", 7, 87, 122, 8, kNone, "newTextLabel"},
    {kFindNext, Kind::PushButton, "&Find Next", 159, 185, 50, 14, kTabStop, "findNext"},
}};

}  // namespace tavlo::patch_dialog_template
