#pragma once

#include <windows.h>

#include <vector>

#include "workflow/dialog_template.h"

namespace tavlo {

// The program icon and the system menu's About entry, as the resource script numbers them.
inline constexpr int kProgramIconId = 129;
inline constexpr int kAboutMenuTextId = 101;

// The controls in the order the dialog creates them (and Tab visits them): the template's, with
// each label that has a buddy moved to just before it.
std::vector<const ControlTemplate*> CreationOrder(std::span<const ControlTemplate> controls);

// A dialog template as the dialog manager reads it (DLGTEMPLATEEX), built in memory from the
// program's own description of the dialog, so the Win32 and the Qt windows come from one table.
// A label whose mnemonic leads to a control other than the next one is placed just before that
// control: labels are no tab stops, so the tab order stays the table's.
class DialogResource {
public:
    explicit DialogResource(const DialogTemplate& dialog);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Add(WORD word) { words_.push_back(word); }
    void AddDword(DWORD value);
    void AddText(const char* windows1252);
    void AddOrdinal(WORD ordinal);
    void AlignToDword();
    void AddControl(const ControlTemplate& control);

    // WORD units; the vector's storage starts on a DWORD boundary, and every control's entry is
    // padded to one, as the format asks.
    std::vector<WORD> words_;
};

}  // namespace tavlo
