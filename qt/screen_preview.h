#pragma once

#include <QColor>
#include <QImage>
#include <string_view>

#include "screen/screen_geometry.h"

class QPainter;

namespace tavlo {

class DeviceFont;

// Draws the receiver's screen: the screen picture (bitmap 132) stretched by magX x magY, and on
// it the text laid out in the receiver's font, every lit device pixel as a magX x magY square.
class ScreenPreview {
public:
    // Takes the start-up magnification (StartupMagnification) from the settings as they are now.
    ScreenPreview();
    ~ScreenPreview();

    // (x, y): top-left corner of the picture on the surface. The text origin is (x + 10, y + 20)
    // in surface pixels. `text` uses single "\n" line breaks (Windows-1252 bytes).
    void Paint(QPainter& surface, std::string_view text, int x, int y, const QColor& colour);

    const DeviceFont* font = nullptr;  // not owned; with none, no text is drawn
    int width = kScreenWidth;          // device screen size in pixels
    int height = kScreenHeight;
    int originX = 0;  // surface position of device column 0, set by every Paint
    int originY = 0;
    int magX = 2;
    int magY = 2;
    // The picture of the receiver's screen: the embedded bitmap 132, or a null image when the
    // program carries none (then no picture is drawn).
    QImage picture;

private:
    // The picture stretched to the magnification of the last paint, so a keystroke only copies
    // it. Stretched again when the magnification or the picture changes.
    const QImage& StretchedPicture();
    QImage stretched_;
    qint64 stretchedFrom_ = 0;  // cacheKey() of the picture it was made from
};

// The embedded screen picture (bitmap 132), decoded once; a null image if it is missing or
// cannot be decoded.
const QImage& ScreenPictureImage();

}  // namespace tavlo
