#include "workflow/patch_dialog_layout.h"

#include <algorithm>

#include "workflow/patch_dialog_template.h"

namespace tavlo {

namespace {

namespace tpl = patch_dialog_template;

PixelRect PlaceOf(const PatchDialogPlaces& dialog, int id) {
    for (const ControlPlace& control : dialog.controls) {
        if (control.id == id) {
            return control.rect;
        }
    }
    return {};
}

bool IsButton(int id) {
    for (const ControlTemplate& control : tpl::kControls) {
        if (control.id == id) {
            return control.kind == ControlKind::PushButton ||
                   control.kind == ControlKind::DefaultButton;
        }
    }
    return false;
}

PixelRect Moved(PixelRect rect, int right, int down) {
    return {rect.left + right, rect.top + down, rect.right + right, rect.bottom + down};
}

}  // namespace

PixelRect PreviewPlace(const PixelRect& previewLabel, const PixelRect& foundText, int width,
                       int height) {
    const int left = previewLabel.left - 1;
    return {left, foundText.top, left + width, foundText.top + height};
}

PatchDialogPlaces ArrangePatchDialog(PatchDialogPlaces dialog, int width, int height, int gapX,
                                     int gapY) {
    const PixelRect preview = PreviewPlace(PlaceOf(dialog, tpl::kPreviewLabel),
                                           PlaceOf(dialog, tpl::kFoundText), width, height);
    const int rowTop = PlaceOf(dialog, tpl::kFindNext).top;
    const int down = std::max(0, preview.bottom + gapY - rowTop);
    const int right = std::max(0, preview.right + gapX - dialog.clientWidth);
    for (ControlPlace& control : dialog.controls) {
        if (control.rect.top >= rowTop) {
            control.rect = Moved(control.rect, IsButton(control.id) ? right : 0, down);
        }
    }
    dialog.clientWidth += right;
    dialog.clientHeight += down;
    const int rowEnd = PlaceOf(dialog, tpl::kFindNext).left - gapX;
    for (ControlPlace& control : dialog.controls) {
        if (control.id == tpl::kCounter) {
            control.rect.right = std::max(control.rect.right, rowEnd);
        }
    }
    return dialog;
}

}  // namespace tavlo
