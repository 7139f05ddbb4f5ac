#pragma once

#include <vector>

#include "workflow/dialog_places.h"

// Where the patch dialog's controls and its preview go, in pixels, once the toolkit has turned
// the template's dialog units into pixels. The picture has a size in pixels and the dialog one
// in dialog units: with a small dialog font or a large magnification the picture would reach
// under the buttons or past the right edge, so the dialog grows to hold it.
namespace tavlo {

struct ControlPlace {
    int id = 0;
    PixelRect rect;

    bool operator==(const ControlPlace&) const = default;
};

// The patch dialog as it is laid out: every control with an id, and the client area's size.
struct PatchDialogPlaces {
    std::vector<ControlPlace> controls;
    int clientWidth = 0;
    int clientHeight = 0;
};

// The preview's picture, `width` x `height` pixels: one pixel left of the "Preview:" label and
// level with the top of the found-message box, wherever those are now.
PixelRect PreviewPlace(const PixelRect& previewLabel, const PixelRect& foundText, int width,
                       int height);

// The dialog made ready for a preview of `width` x `height` pixels. `gapX`, `gapY`: the room the
// template leaves between controls (4 dialog units) in pixels. When the picture would reach the
// row of buttons below it or the right edge, everything from that row down moves below the
// picture, the buttons keep to the right edge, and the client area grows by as much; the boxes
// and labels keep their places. The counter, on one line, then reaches as far as the row allows
// (up to Find Next, less the gap), so its numbers fit in any font.
PatchDialogPlaces ArrangePatchDialog(PatchDialogPlaces dialog, int width, int height, int gapX,
                                     int gapY);

}  // namespace tavlo
