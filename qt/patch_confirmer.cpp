#include "qt/patch_confirmer.h"

#include "qt/patch_dialog.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {

Answer DialogPatchConfirmer::Confirm(PatchRequest& request) {
    PatchDialog dialog(parent_);
    dialog.SetRequest(request);
    const Answer answer = patch_dialog_template::AnswerOfDialogEnd(dialog.exec());
    if (answer == Answer::Ok) {
        request.newText = dialog.NewText();
    }
    return answer;
}

}  // namespace tavlo
