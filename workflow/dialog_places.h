#pragma once

#include <vector>

// Where a dialog's controls lie once a toolkit has turned the template's dialog units into
// pixels, and the one correction every toolkit makes to that: room for each label's text.
namespace tavlo {

// A rectangle in a dialog's client pixels; `right` and `bottom` are excluded.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const PixelRect&) const = default;
};

// One control of a dialog as laid out: its place, and for a label the width its text takes on
// one line in the dialog's font (0 for every other control).
struct LaidOutControl {
    PixelRect rect;
    int labelTextWidth = 0;
};

// A dialog as laid out: its controls in template order, and its client area's size.
struct LaidOutDialog {
    std::vector<LaidOutControl> controls;
    int clientWidth = 0;
    int clientHeight = 0;
};

// Every label keeps its text on one line. Dialog units follow the font's average letter, and a
// label's text can be wider against them in the font the system has than in the one the
// template was drawn for ("Filename (RGN file) to patch:" in Liberation Sans is a pixel wider
// than its 93 units), so it would wrap and lose its second line. A label whose text is wider
// than its place widens by the difference, and so does the column it ends: every control that
// starts at or right of the label's right edge moves right by the most any label ending there
// lacks, every control that reaches across that edge widens by as much, and so does the dialog.
// Labels ending at one edge thus keep one column, and the controls right of them stay in line.
LaidOutDialog FitLabelTexts(LaidOutDialog dialog);

}  // namespace tavlo
