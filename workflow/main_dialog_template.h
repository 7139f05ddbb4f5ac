#pragma once

#include "workflow/dialog_template.h"

// The main dialog (dialog 102): file name, search text and the commands.
namespace tavlo::main_dialog_template {

// Control ids the dialog's code refers to.
enum Id : int {
    kExit = 1,
    kFileName = 1000,
    kBrowse = 1001,
    kEditSettings = 1002,
    kSearch = 1003,
    kViewHelp = 1004,
    kSearchText = 1005,
    kIcon = 1010,
    kWelcome = 1012,
};

inline constexpr ControlTemplate kControls[] = {
    {kIcon, ControlKind::Icon, "", 7, 7, 21, 20, kNoStyle},
    {kWelcome, ControlKind::Static, "Welcome to Tavlo, the firmware patch program", 36, 7, 277, 20,
     kCentred | kVCentred | kSunken},
    {kNoControlId, ControlKind::Label, "&Filename (RGN file) to patch:", 7, 39, 93, 12, kNoStyle},
    {kFileName, ControlKind::Edit, "", 101, 37, 164, 14, kTabStop | kAutoHScroll | kFileNameText},
    {kBrowse, ControlKind::PushButton, "&Browse ...", 269, 37, 44, 15, kTabStop},
    {kNoControlId, ControlKind::Label, "Start of &text to search for:", 7, 61, 93, 12, kNoStyle},
    {kSearchText, ControlKind::DropDownCombo, "", 102, 59, 164, 68, kTabStop | kSortedList},
    {kSearch, ControlKind::DefaultButton, "&Search !", 269, 59, 44, 15, kTabStop},
    {kViewHelp, ControlKind::PushButton, "View &help", 101, 76, 45, 15, kTabStop},
    {kEditSettings, ControlKind::PushButton, "&Edit settings", 160, 76, 45, 15, kTabStop},
    {kExit, ControlKind::PushButton, "E&xit", 219, 76, 45, 15, kTabStop},
};

inline constexpr DialogTemplate kTemplate{102, "Tavlo", "MS Sans Serif", 8, 320, 98, kControls};

}  // namespace tavlo::main_dialog_template
