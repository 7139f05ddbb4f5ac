#pragma once

#include "workflow/dialog_template.h"

// The main dialog (dialog 102): file name, search text and the commands.
namespace tavlo {

enum MainDialogControl : int {
    kIdExit = 1,
    kIdFileName = 1000,
    kIdBrowse = 1001,
    kIdEditSettings = 1002,
    kIdSearch = 1003,
    kIdViewHelp = 1004,
    kIdSearchText = 1005,
    kIdIcon = 1010,
    kIdWelcome = 1012,
};

inline constexpr ControlTemplate kMainDialogControls[] = {
    {kIdIcon, ControlKind::Icon, "", 7, 7, 21, 20, kNoStyle},
    {kIdWelcome, ControlKind::Static, "Welcome to Tavlo, the firmware patch program", 36, 7, 277,
     20, kCentred | kVCentred | kSunken},
    {kNoControlId, ControlKind::Label, "&Filename (RGN file) to patch:", 7, 39, 93, 12, kNoStyle},
    {kIdFileName, ControlKind::Edit, "", 101, 37, 164, 14, kTabStop | kAutoHScroll},
    {kIdBrowse, ControlKind::PushButton, "&Browse ...", 269, 37, 44, 15, kTabStop},
    {kNoControlId, ControlKind::Label, "Start of &text to search for:", 7, 61, 93, 12, kNoStyle},
    {kIdSearchText, ControlKind::DropDownCombo, "", 102, 59, 164, 68, kTabStop | kSortedList},
    {kIdSearch, ControlKind::DefaultButton, "&Search !", 269, 59, 44, 15, kTabStop},
    {kIdViewHelp, ControlKind::PushButton, "View &help", 101, 76, 45, 15, kTabStop},
    {kIdEditSettings, ControlKind::PushButton, "&Edit settings", 160, 76, 45, 15, kTabStop},
    {kIdExit, ControlKind::PushButton, "E&xit", 219, 76, 45, 15, kTabStop},
};

inline constexpr DialogTemplate kMainDialogTemplate{102, "Tavlo", "MS Sans Serif",    8,
                                                    320, 98,      kMainDialogControls};

}  // namespace tavlo
