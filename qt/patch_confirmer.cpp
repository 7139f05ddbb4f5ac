#include "qt/patch_confirmer.h"

#include "qt/patch_dialog.h"

namespace tavlo {

Answer DialogPatchConfirmer::Confirm(PatchRequest& request) {
    PatchDialog dialog(parent_);
    dialog.currentText = request.currentText;
    dialog.infoText = request.infoText;
    dialog.newText = request.newText;
    dialog.font = request.font;
    switch (dialog.exec()) {
        case PatchDialog::ResultOk:
            request.newText = dialog.newText;
            return Answer::Ok;
        case PatchDialog::ResultCancel:
            return Answer::Cancel;
        default:  // Find Next, or the dialog could not be shown at all
            return Answer::FindNext;
    }
}

}  // namespace tavlo
