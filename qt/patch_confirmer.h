#pragma once

#include "workflow/patch_step.h"

class QWidget;

namespace tavlo {

// The desktop program's answer to each match: the "Confirm / edit patch" dialog, run modally.
class DialogPatchConfirmer : public PatchConfirmer {
public:
    // `parent`: the window the dialog runs over (it centres on it), or none.
    explicit DialogPatchConfirmer(QWidget* parent = nullptr) : parent_(parent) {}

    // Shows the request's texts and font; on OK the edited text goes back into
    // request.newText.
    Answer Confirm(PatchRequest& request) override;

private:
    QWidget* parent_;
};

}  // namespace tavlo
