#include "screen/preview_picture.h"

#include <algorithm>

#include "core/embedded_resources.h"
#include "screen/device_font.h"
#include "screen/screen_geometry.h"
#include "screen/screen_layout.h"
#include "settings/startup_values.h"

namespace tavlo {

namespace {

bool SameColour(Rgb a, Rgb b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Paints lit device pixels into a raster.
class RasterPixelSink : public PixelSink {
public:
    RasterPixelSink(RgbRaster& raster, int magX, int magY, int scale, Rgb colour)
        : raster_(raster), first_(SquareOfLitPixel(0, 0, magX, magY, scale)), colour_(colour) {}

    void LightPixel(int column, int row) override {
        // Every square is the first one moved by whole squares.
        const int left = first_.left + column * first_.width;
        const int top = first_.top + row * first_.height;
        Fill(left, top, first_.width, first_.height, colour_);
        if (first_.blackInside) {
            const int inset = first_.outline;
            Fill(left + inset, top + inset, first_.width - 2 * inset, first_.height - 2 * inset,
                 Rgb{});
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
    LitPixelSquare first_;  // of device column 0, row 0
    Rgb colour_;
};

}  // namespace

int DisplayScale(int dotsPerInch) {
    const long long nearest = (static_cast<long long>(dotsPerInch) + 48) / 96;
    return static_cast<int>(std::clamp<long long>(nearest, 1, kMaxMagnification));
}

LitPixelSquare SquareOfLitPixel(int column, int row, int magX, int magY, int scale) {
    // Device column 0, row 0 lie kTextOffsetX, kTextOffsetY picture pixels into the picture at
    // scale 1.
    return {(kTextOffsetX + column * magX) * scale,
            (kTextOffsetY + row * magY) * scale,
            magX * scale,
            magY * scale,
            scale,
            magX > 2 && magY > 2};
}

const IndexedPicture* ScreenPicture() {
    static const std::optional<IndexedPicture> picture = [] {
        const auto bytes = FindResource("#132", "BITMAP");
        return bytes ? DecodeBmp(*bytes) : std::nullopt;
    }();
    return picture ? &*picture : nullptr;
}

PreviewCanvas::PreviewCanvas(const DeviceFont* font, int magX, int magY, int scale)
    : font_(font),
      magX_(std::max(magX, 1)),
      magY_(std::max(magY, 1)),
      scale_(std::clamp(scale, 1, std::max(1, kMaxMagnification / std::max(magX_, magY_)))),
      shownColour_(kTextFits) {
    raster_.width = kPictureWidth * magX_ * scale_;
    raster_.height = kPictureHeight * magY_ * scale_;
    raster_.pixels.resize(static_cast<std::size_t>(raster_.width) * raster_.height);
    PaintPicture({0, raster_.height});
}

RasterRows PreviewCanvas::LineBand(std::size_t index) const {
    const int pitch = (font_ != nullptr ? *font_ : DeviceFont()).linePitch * magY_ * scale_;
    const int top = kTextOffsetY * scale_ + static_cast<int>(index) * pitch;
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
    // Raster pixels per picture pixel, across and down.
    const int blockX = magX_ * scale_;
    const int blockY = magY_ * scale_;
    for (int y = rows.top; y < rows.bottom; ++y) {
        const int sourceRow = std::min(y / blockY, picture->height - 1);
        // Every raster row of one picture row is the same: the first is stretched, the others
        // copy it.
        if (y > rows.top && y % blockY != 0 && sourceRow == (y - 1) / blockY) {
            std::copy(rowStart(y - 1), rowStart(y), rowStart(y));
            continue;
        }
        const std::uint8_t* source =
            picture->pixels.data() + static_cast<std::size_t>(sourceRow) * picture->width;
        auto pixel = rowStart(y);
        for (int x = 0; x < raster_.width; x += blockX) {
            const Rgb colour = picture->palette[source[std::min(x / blockX, picture->width - 1)]];
            pixel = std::fill_n(pixel, std::min(blockX, raster_.width - x), colour);
        }
    }
}

void PreviewCanvas::DrawLine(std::string_view line, std::size_t index, Rgb colour) {
    RasterPixelSink sink(raster_, magX_, magY_, scale_, colour);
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
                         Rgb colour, int scale) {
    PreviewCanvas canvas(font, magX, magY, scale);
    canvas.Show(ScreenLines(font, text), colour);
    return canvas.TakeRaster();
}

}  // namespace tavlo
