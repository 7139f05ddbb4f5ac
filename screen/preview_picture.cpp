#include "screen/preview_picture.h"

#include <algorithm>

#include "core/embedded_resources.h"
#include "screen/screen_geometry.h"
#include "screen/screen_layout.h"

namespace tavlo {

namespace {

// Paints lit device pixels into a raster.
class RasterPixelSink : public PixelSink {
public:
    RasterPixelSink(RgbRaster& raster, int magX, int magY, Rgb colour)
        : raster_(raster), magX_(magX), magY_(magY), colour_(colour) {}

    void LightPixel(int column, int row) override {
        const LitPixelSquare square =
            SquareOfLitPixel(column, row, kTextOffsetX, kTextOffsetY, magX_, magY_);
        Fill(square.left, square.top, square.width, square.height, colour_);
        if (square.blackInside) {
            Fill(square.left + 1, square.top + 1, square.width - 2, square.height - 2, Rgb{});
        }
    }

private:
    void Fill(int left, int top, int width, int height, Rgb colour) {
        const int right = std::min(left + width, raster_.width);
        const int bottom = std::min(top + height, raster_.height);
        for (int y = std::max(top, 0); y < bottom; ++y) {
            for (int x = std::max(left, 0); x < right; ++x) {
                raster_.At(x, y) = colour;
            }
        }
    }

    RgbRaster& raster_;
    int magX_;
    int magY_;
    Rgb colour_;
};

}  // namespace

LitPixelSquare SquareOfLitPixel(int column, int row, int originX, int originY, int magX, int magY) {
    return {originX + column * magX, originY + row * magY, magX, magY, magX > 2 && magY > 2};
}

const IndexedPicture* ScreenPicture() {
    static const std::optional<IndexedPicture> picture = [] {
        const auto bytes = FindResource("#132", "BITMAP");
        return bytes ? DecodeBmp(*bytes) : std::nullopt;
    }();
    return picture ? &*picture : nullptr;
}

RgbRaster ComposePreview(const DeviceFont* font, std::string_view text, int magX, int magY,
                         Rgb colour) {
    RgbRaster raster;
    raster.width = kPictureWidth * magX;
    raster.height = kPictureHeight * magY;
    raster.pixels.resize(static_cast<std::size_t>(raster.width) * raster.height);
    if (const IndexedPicture* picture = ScreenPicture()) {
        for (int y = 0; y < raster.height; ++y) {
            const int sourceRow = std::min(y / magY, picture->height - 1);
            for (int x = 0; x < raster.width; ++x) {
                const int sourceColumn = std::min(x / magX, picture->width - 1);
                raster.At(x, y) =
                    picture->palette[picture->pixels[static_cast<std::size_t>(sourceRow) *
                                                         picture->width +
                                                     sourceColumn]];
            }
        }
    }
    RasterPixelSink sink(raster, magX, magY, colour);
    ScreenLayout(font, sink).DrawText(text);
    return raster;
}

}  // namespace tavlo
