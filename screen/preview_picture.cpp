#include "screen/preview_picture.h"

#include <algorithm>

#include "core/embedded_resources.h"
#include "screen/device_font.h"
#include "screen/screen_geometry.h"
#include "screen/screen_layout.h"

namespace tavlo {

namespace {

bool SameColour(Rgb a, Rgb b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

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

PreviewCanvas::PreviewCanvas(const DeviceFont* font, int magX, int magY)
    : font_(font), magX_(std::max(magX, 1)), magY_(std::max(magY, 1)), shownColour_(kTextFits) {
    raster_.width = kPictureWidth * magX;
    raster_.height = kPictureHeight * magY;
    raster_.pixels.resize(static_cast<std::size_t>(raster_.width) * raster_.height);
    PaintPicture({0, raster_.height});
}

RasterRows PreviewCanvas::LineBand(std::size_t index) const {
    const int pitch = (font_ != nullptr ? *font_ : DeviceFont()).linePitch * magY_;
    const int top = kTextOffsetY + static_cast<int>(index) * pitch;
    return {std::min(top, raster_.height), std::min(top + pitch, raster_.height)};
}

void PreviewCanvas::PaintPicture(RasterRows rows) {
    const IndexedPicture* picture = ScreenPicture();
    const auto rowStart = [this](int y) {
        return raster_.pixels.begin() + static_cast<std::ptrdiff_t>(y) * raster_.width;
    };
    if (picture == nullptr) {
        std::fill(rowStart(rows.top), rowStart(rows.bottom), Rgb{});
        return;
    }
    for (int y = rows.top; y < rows.bottom; ++y) {
        const int sourceRow = std::min(y / magY_, picture->height - 1);
        // Every raster row of one picture row is the same: the first is stretched, the others
        // copy it.
        if (y > rows.top && y % magY_ != 0 && sourceRow == (y - 1) / magY_) {
            std::copy(rowStart(y - 1), rowStart(y), rowStart(y));
            continue;
        }
        const std::uint8_t* source =
            picture->pixels.data() + static_cast<std::size_t>(sourceRow) * picture->width;
        auto pixel = rowStart(y);
        for (int x = 0; x < raster_.width; x += magX_) {
            const Rgb colour = picture->palette[source[std::min(x / magX_, picture->width - 1)]];
            pixel = std::fill_n(pixel, std::min(magX_, raster_.width - x), colour);
        }
    }
}

void PreviewCanvas::DrawLine(std::string_view line, std::size_t index, Rgb colour) {
    RasterPixelSink sink(raster_, magX_, magY_, colour);
    ScreenLayout(font_, sink).DrawLineCentred(line, static_cast<int>(index));
}

RasterRows PreviewCanvas::Show(const std::vector<std::string>& lines, Rgb colour) {
    // Only the bands of lines that changed (all of them when the colour did) are painted again.
    RasterRows changed;
    const bool recolour = !SameColour(colour, shownColour_);
    for (std::size_t i = 0; i < std::max(lines.size(), shownLines_.size()); ++i) {
        const bool had = i < shownLines_.size();
        const bool has = i < lines.size();
        if (had && has && !recolour && lines[i] == shownLines_[i]) {
            continue;
        }
        const RasterRows band = LineBand(i);
        PaintPicture(band);
        if (has) {
            DrawLine(lines[i], i, colour);
        }
        changed = changed.Empty() ? band : RasterRows{changed.top, band.bottom};
    }
    shownLines_ = lines;
    shownColour_ = colour;
    return changed;
}

RgbRaster ComposePreview(const DeviceFont* font, std::string_view text, int magX, int magY,
                         Rgb colour) {
    PreviewCanvas canvas(font, magX, magY);
    canvas.Show(ScreenLines(font, text), colour);
    return canvas.TakeRaster();
}

}  // namespace tavlo
