#pragma once

#include "workflow/dialog_template.h"

// Dialog template 130, "Confirm / edit patch": the message found, the box for its replacement,
// the counter and the three answers. The template order is also the tab and mnemonic order;
// positions and sizes are dialog units. The preview is no control: the dialog paints it right of
// the edit boxes, below "Preview:".
namespace tavlo::patch_dialog_template {

// Control ids the dialog's code refers to.
enum Id : int {
    kOk = 1,
    kCancel = 2,
    kFindNext = 3,
    kNewText = 1004,
    kFoundText = 1005,
    kInfoText = 1006,
    kCounter = 1007,
    kHiddenNote = 1008,
    kPreviewLabel = 1011,
    // No control of the template: the note a window puts where the preview would be when there
    // is none.
    kPreviewNote = 1009,
};

inline constexpr const char* kCaption = "Confirm / edit patch";

// Code and tests find the controls by their object names.
inline constexpr ControlTemplate kControls[] = {
    {kFoundText, ControlKind::MultiLineEdit, "", 7, 17, 146, 66, kReadOnly | kBorder | kAutoHScroll,
     "foundText"},
    {kNewText, ControlKind::MultiLineEdit, "", 7, 96, 146, 85,
     kTabStop | kBorder | kWantReturn | kAutoHScroll | kVScrollBar, "newText"},
    {kCounter, ControlKind::Static, "0", 7, 189, 130, 10, kNoStyle, "counter"},
    {kPreviewLabel, ControlKind::Static, "Preview:", 159, 7, 117, 9, kNoStyle, "previewLabel"},
    {kCancel, ControlKind::PushButton, "&Cancel", 213, 185, 50, 14, kTabStop, "cancel"},
    {kOk, ControlKind::DefaultButton, "&OK", 267, 185, 50, 14, kTabStop, "ok"},
    {kInfoText, ControlKind::Static, "Patch info goes here", 7, 7, 137, 10, kNoStyle, "infoText"},
    // Its mnemonic leads to the box it names.
    {kNoControlId, ControlKind::Label, "&Edit new contents here:", 7, 87, 122, 8, kNoStyle,
     "newTextLabel", kNewText},
    {kFindNext, ControlKind::PushButton, "&Find Next", 159, 185, 50, 14, kTabStop, "findNext"},
    // Under the counter: what of the text the receiver will not show, if anything.
    {kHiddenNote, ControlKind::Static, "", 7, 200, 310, 9, kNoStyle, "hiddenNote"},
};

// A fixed frame: the controls keep their places, so a larger window would only add empty space.
// The template's "MS Sans Serif" at 8 points exists only on the platform it was
// made for, so the dialog keeps the application's font.
inline constexpr DialogTemplate kTemplate{130, kCaption, "MS Sans Serif", 8,
                                          324, 212,      kControls,       kApplicationFont};

}  // namespace tavlo::patch_dialog_template
