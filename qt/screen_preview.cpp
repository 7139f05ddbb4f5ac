#include "qt/screen_preview.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <QPainter>
#include <QRect>

#include "screen/preview_picture.h"
#include "screen/screen_geometry.h"
#include "screen/screen_layout.h"
#include "settings/startup_values.h"

namespace tavlo {

namespace {

// Draws every lit device pixel as the receiver software's rectangle with a one-pixel outline in
// the text colour and a black fill (SquareOfLitPixel).
class PainterPixelSink : public PixelSink {
public:
    PainterPixelSink(QPainter& surface, const ScreenPreview& preview, const QColor& colour)
        : surface_(surface),
          preview_(preview),
          colour_(colour),
          clip_(surface.hasClipping() ? surface.clipBoundingRect().toAlignedRect() : QRect()) {}

    void LightPixel(int column, int row) override {
        const LitPixelSquare square = SquareOfLitPixel(
            column, row, preview_.originX, preview_.originY, preview_.magX, preview_.magY);
        const QRect outline(square.left, square.top, square.width, square.height);
        // A repaint of part of the surface only needs the pixels inside that part.
        if (clip_.isValid() && !clip_.intersects(outline)) {
            return;
        }
        surface_.fillRect(outline, colour_);
        if (square.blackInside) {
            surface_.fillRect(outline.adjusted(1, 1, -1, -1), Qt::black);
        }
    }

private:
    QPainter& surface_;
    const ScreenPreview& preview_;
    QColor colour_;
    QRect clip_;  // the surface's clip in its own coordinates; invalid when it has none
};

// Whether the picture (pictureSize pixels from `corner`) and the text (screenSize device pixels
// from `textOrigin`) stay within int coordinates at this magnification.
bool FitsCoordinates(int corner, int textOrigin, int magnification, int pictureSize,
                     int screenSize) {
    const std::int64_t scale = magnification;
    const std::int64_t far =
        std::max(corner + scale * pictureSize, textOrigin + scale * screenSize);
    return far <= std::numeric_limits<int>::max();
}

}  // namespace

const QImage& ScreenPictureImage() {
    static const QImage image = [] {
        const IndexedPicture* picture = ScreenPicture();
        if (picture == nullptr) {
            return QImage();
        }
        // Kept in the surface's own format, so a paint only has to stretch it.
        QImage converted(picture->width, picture->height, QImage::Format_RGB32);
        for (int y = 0; y < picture->height; ++y) {
            for (int x = 0; x < picture->width; ++x) {
                const Rgb& colour = picture->palette[picture->pixels[y * picture->width + x]];
                converted.setPixel(x, y, qRgb(colour.red, colour.green, colour.blue));
            }
        }
        return converted;
    }();
    return image;
}

ScreenPreview::ScreenPreview()
    : magX(StartupMagnification("MagX")),
      magY(StartupMagnification("MagY")),
      picture(ScreenPictureImage()) {}

ScreenPreview::~ScreenPreview() = default;

void ScreenPreview::Paint(QPainter& surface, std::string_view text, int x, int y,
                          const QColor& colour) {
    originX = x + kTextOffsetX;
    originY = y + kTextOffsetY;
    // Without a size there is neither picture nor pixel to draw; nor is there when the
    // magnified screen would not fit the surface's coordinates (a magnification in the millions).
    if (magX <= 0 || magY <= 0 || !FitsCoordinates(x, originX, magX, picture.width(), width) ||
        !FitsCoordinates(y, originY, magY, picture.height(), height)) {
        return;
    }
    if (!picture.isNull()) {
        // Replaces whatever was there, the text of an earlier paint included.
        surface.drawImage(QPoint(x, y), StretchedPicture());
    }
    PainterPixelSink sink(surface, *this, colour);
    ScreenLayout(font, sink, width, height).DrawText(text);
}

const QImage& ScreenPreview::StretchedPicture() {
    const QSize size(magX * picture.width(), magY * picture.height());
    if (stretched_.size() != size || stretchedFrom_ != picture.cacheKey()) {
        // Each picture pixel becomes a magX x magY block, with no smoothing.
        stretched_ = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        stretchedFrom_ = picture.cacheKey();
    }
    return stretched_;
}

}  // namespace tavlo
