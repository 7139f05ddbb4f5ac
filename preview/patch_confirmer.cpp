#include "preview/patch_confirmer.h"

#include "preview/patch_dialog.h"

namespace tavlo {

int DialogPatchConfirmer::Confirm(PatchRequest& request) {
    PatchDialog dialog(parent_);
    dialog.currentText = request.currentText;
    dialog.infoText = request.infoText;
    dialog.newText = request.newText;
    dialog.font = request.font;
    const int result = dialog.exec();
    if (result == PatchDialog::ResultOk) {
        request.newText = dialog.newText;
    }
    return result;
}

}  // namespace tavlo
