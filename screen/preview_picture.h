#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "screen/bmp_file.h"

namespace tavlo {

class DeviceFont;

// The text colours of the preview: black while the text fits the message, red when it is longer.
inline constexpr Rgb kTextFits{0, 0, 0};
inline constexpr Rgb kTextTooLong{255, 0, 0};

// The surface pixels one lit device pixel covers at a magnification: a magX x magY square whose
// one-pixel outline is in the text colour; from 3 x 3 up its inside is black.
struct LitPixelSquare {
    int left;
    int top;
    int width;
    int height;
    bool blackInside;
};
// `originX`, `originY`: the surface position of device column 0, row 0.
LitPixelSquare SquareOfLitPixel(int column, int row, int originX, int originY, int magX, int magY);

// A picture in 24-bit colour, top row first.
struct RgbRaster {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // width * height, row by row from the top

    const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A band of whole rows of a raster, from `top` up to `bottom` (excluded).
struct RasterRows {
    int top = 0;
    int bottom = 0;

    bool Empty() const { return bottom <= top; }
};

// The picture of the receiver (bitmap 132) as the program carries it, decoded once; nullptr when
// the program carries none that can be read.
const IndexedPicture* ScreenPicture();

// What the patch dialog's preview shows, kept from one text to the next: the screen picture
// stretched by magX x magY (each of its pixels a magX x magY block), and on it the lines of a
// text in the receiver's font, every lit device pixel a square in the text colour. Each line
// keeps to its own band of rows, so a new text paints again only the bands of the lines that
// changed. A magnification below 1 is taken as 1; without a font only the picture is drawn,
// without a picture the background is black.
class PreviewCanvas {
public:
    PreviewCanvas(const DeviceFont* font, int magX, int magY);

    // Shows `lines` (the screen's lines from the top, ScreenLines) in `colour`. Returns the rows
    // that changed (none when the lines and the colour are those shown already).
    RasterRows Show(const std::vector<std::string>& lines, Rgb colour);

    const RgbRaster& Raster() const { return raster_; }
    // The raster itself, leaving the canvas empty.
    RgbRaster TakeRaster() { return std::move(raster_); }

private:
    RasterRows LineBand(std::size_t index) const;
    void PaintPicture(RasterRows rows);
    void DrawLine(std::string_view line, std::size_t index, Rgb colour);

    const DeviceFont* font_;
    int magX_;
    int magY_;
    RgbRaster raster_;
    std::vector<std::string> shownLines_;
    Rgb shownColour_;
};

// The preview of `text` in one go (what tavlo-cli writes as PNG): the same picture as a
// PreviewCanvas shows for it.
RgbRaster ComposePreview(const DeviceFont* font, std::string_view text, int magX, int magY,
                         Rgb colour);

}  // namespace tavlo
