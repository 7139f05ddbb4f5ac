#include "workflow/dialog_places.h"

#include <algorithm>
#include <map>

namespace tavlo {

LaidOutDialog FitLabelTexts(LaidOutDialog dialog) {
    // How far each label column's right edge moves: the most any label ending there lacks.
    std::map<int, int> widening;
    for (const LaidOutControl& control : dialog.controls) {
        const int lacking = control.labelTextWidth - (control.rect.right - control.rect.left);
        if (control.labelTextWidth > 0 && lacking > 0) {
            int& most = widening[control.rect.right];
            most = std::max(most, lacking);
        }
    }
    // A point moves by the widening of every column edge at or left of it.
    const auto shift = [&widening](int x) {
        int by = 0;
        for (const auto& [edge, width] : widening) {
            by += edge <= x ? width : 0;
        }
        return by;
    };
    int total = 0;
    for (const auto& [edge, width] : widening) {
        total += width;
    }
    for (LaidOutControl& control : dialog.controls) {
        const PixelRect was = control.rect;
        // A control that starts at an edge moves with it; the label that ends there widens.
        control.rect.left += shift(was.left);
        control.rect.right += shift(was.right);
    }
    dialog.clientWidth += total;
    return dialog;
}

}  // namespace tavlo
