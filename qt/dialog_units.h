#pragma once

#include <QFont>
#include <QRect>

namespace tavlo {

// Dialog templates give positions and sizes in dialog units, which scale with the dialog's font:
// a horizontal unit is a quarter of the average width of the letters A-Z and a-z, a vertical
// unit an eighth of the font's height. Every control thus keeps the template's proportions at
// any font size.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

    int BaseX() const { return baseX_; }  // average letter width in pixels
    int BaseY() const { return baseY_; }  // font height in pixels

private:
    int baseX_;
    int baseY_;
};

}  // namespace tavlo
