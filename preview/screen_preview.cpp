#include "preview/screen_preview.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <QPainter>
#include <QRect>

#include "core/embedded_resources.h"
#include "preview/screen_layout.h"
#include "settings/startup_values.h"

namespace tavlo {

namespace {

// The text starts this many surface pixels right of and below the picture's corner, whatever
// the magnification.
constexpr int kTextOffsetX = 10;
constexpr int kTextOffsetY = 20;

// Draws every lit device pixel as the receiver software's rectangle with a one-pixel outline in
// the text colour and a black fill: it covers exactly magX x magY surface pixels, its outline
// being the border of that square and its fill what is left inside (nothing below 3 x 3).
class PainterPixelSink : public PixelSink {
public:
    PainterPixelSink(QPainter& surface, const ScreenPreview& preview, const QColor& colour)
        : surface_(surface),
          preview_(preview),
          colour_(colour),
          clip_(surface.hasClipping() ? surface.clipBoundingRect().toAlignedRect() : QRect()) {}

    void LightPixel(int column, int row) override {
        const int left = preview_.originX + column * preview_.magX;
        const int top = preview_.originY + row * preview_.magY;
        // A repaint of part of the surface only needs the pixels inside that part.
        if (clip_.isValid() && !clip_.intersects(QRect(left, top, preview_.magX, preview_.magY))) {
            return;
        }
        surface_.fillRect(QRect(left, top, preview_.magX, preview_.magY), colour_);
        if (preview_.magX > 2 && preview_.magY > 2) {
            surface_.fillRect(QRect(left + 1, top + 1, preview_.magX - 2, preview_.magY - 2),
                              Qt::black);
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

const QImage& ScreenPicture() {
    static const QImage picture = [] {
        const auto bytes = FindResource("#132", "BITMAP");
        if (!bytes) {
            return QImage();
        }
        // Kept in the surface's own format, so a paint only has to stretch it.
        return QImage::fromData(bytes->data(), static_cast<int>(bytes->size()), "BMP")
            .convertToFormat(QImage::Format_RGB32);
    }();
    return picture;
}

ScreenPreview::ScreenPreview()
    : magX(StartupMagnification("MagX")),
      magY(StartupMagnification("MagY")),
      picture(ScreenPicture()) {}

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
