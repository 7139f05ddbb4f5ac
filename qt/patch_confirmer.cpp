#include "qt/patch_confirmer.h"

#include "qt/patch_dialog.h"

namespace tavlo {

Answer DialogPatchConfirmer::Confirm(PatchRequest& request) {
    PatchDialog dialog(parent_);
    dialog.SetRequest(request);
    switch (dialog.exec()) {
        case PatchDialog::ResultOk:
            request.newText = dialog.NewText();
            return Answer::Ok;
        case PatchDialog::ResultCancel:
            return Answer::Cancel;
        default:  // Find Next, or the dialog could not be shown at all
            return Answer::FindNext;
    }
}

}  // namespace tavlo
