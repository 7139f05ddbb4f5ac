#pragma once

#include "workflow/dialog_template.h"

// The About box (dialog 100): icon, version line, notice and OK.
namespace tavlo {

enum AboutDialogControl : int {
    kIdAboutOk = 1,
    kIdVersionText = 1013,
};

inline constexpr ControlTemplate kAboutDialogControls[] = {
    {kNoControlId, ControlKind::Icon, "", 7, 7, 21, 20, kNoStyle},
    {kIdVersionText, ControlKind::Static, "Tavlo Version", 40, 10, 119, 8, kCentred | kNoPrefix},
    {kNoControlId, ControlKind::Static, "Copyright (C) The Tavlo developers", 40, 25, 119, 8,
     kCentred},
    {kIdAboutOk, ControlKind::DefaultButton, "OK", 76, 49, 50, 14, kTabStop},
};

inline constexpr DialogTemplate kAboutDialogTemplate{
    100, "About Tavlo", "MS Sans Serif", 8, 189, 70, kAboutDialogControls};

}  // namespace tavlo
