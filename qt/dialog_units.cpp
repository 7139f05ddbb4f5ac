#include "qt/dialog_units.h"

#include <QFontMetrics>

namespace tavlo {

namespace {

// The average width of the 52 letters, rounded to the nearest pixel.
int AverageLetterWidth(const QFontMetrics& metrics) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int total = metrics.horizontalAdvance(letters);
    return (total / 26 + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    baseX_ = AverageLetterWidth(metrics);
    baseY_ = metrics.height();
}

int DialogUnits::ToPixelsX(int units) const {
    return (units * baseX_) / 4;
}
int DialogUnits::ToPixelsY(int units) const {
    return (units * baseY_) / 8;
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    const int left = ToPixelsX(x);
    const int top = ToPixelsY(y);
    // Right and bottom edges are converted on their own, so adjacent controls stay adjacent.
    return QRect(left, top, ToPixelsX(x + width) - left, ToPixelsY(y + height) - top);
}

}  // namespace tavlo
