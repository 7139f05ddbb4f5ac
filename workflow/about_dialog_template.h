#pragma once

#include "workflow/dialog_template.h"

// The About box (dialog 100): icon, version line, notice and OK.
namespace tavlo::about_dialog_template {

// Control ids the dialog's code refers to.
enum Id : int {
    kOk = 1,
    kVersionText = 1013,
};

inline constexpr ControlTemplate kControls[] = {
    {kNoControlId, ControlKind::Icon, "", 7, 7, 21, 20, kNoStyle},
    {kVersionText, ControlKind::Static, "Tavlo Version", 40, 10, 119, 8, kCentred | kNoPrefix},
    {kNoControlId, ControlKind::Static, "Copyright (C) The Tavlo developers", 40, 25, 119, 8,
     kCentred},
    {kOk, ControlKind::DefaultButton, "OK", 76, 49, 50, 14, kTabStop},
};

inline constexpr DialogTemplate kTemplate{100, "About Tavlo", "MS Sans Serif", 8, 189,
                                          70,  kControls};

}  // namespace tavlo::about_dialog_template
