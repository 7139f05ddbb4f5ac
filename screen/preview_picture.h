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

// How many display pixels across and down one pixel of the preview takes on a display of
// `dotsPerInch` (96 is the scale of 1): the nearest whole number, at least 1. A whole number keeps
// every device pixel a square of equal display pixels, crisp; the nearest one keeps the picture
// closest to the size the dialog's font has grown by (150 % draws twice, 125 % once).
int DisplayScale(int dotsPerInch);

// The raster pixels one lit device pixel covers: at magnification magX x magY and display scale
// s, a (magX s) x (magY s) square whose outline, s pixels wide, is in the text colour; from 3 x 3
// up its inside is black. So the picture at scale s is the one at scale 1 with every pixel an
// s x s block.
struct LitPixelSquare {
    int left;
    int top;
    int width;
    int height;
    int outline;  // the width of the outline, in raster pixels
    bool blackInside;
};
LitPixelSquare SquareOfLitPixel(int column, int row, int magX, int magY, int scale);

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
// text in the receiver's font, every lit device pixel a square in the text colour; all of it at
// a display scale (DisplayScale), each pixel an s x s block. Each line keeps to its own band of
// rows, so a new text paints again only the bands of the lines that changed. A magnification or
// scale below 1 is taken as 1, and the scale is lowered where magnification times scale would
// pass kMaxMagnification, so the raster never outgrows the largest magnification's; without a
// font only the picture is drawn, without a picture the background is black.
class PreviewCanvas {
public:
    PreviewCanvas(const DeviceFont* font, int magX, int magY, int scale = 1);

    // The display scale drawn at, after the limits above.
    int Scale() const { return scale_; }

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
    int scale_;
    RgbRaster raster_;
    std::vector<std::string> shownLines_;
    Rgb shownColour_;
};

// The preview of `text` in one go (what tavlo-cli writes as PNG): the same picture as a
// PreviewCanvas shows for it.
RgbRaster ComposePreview(const DeviceFont* font, std::string_view text, int magX, int magY,
                         Rgb colour, int scale = 1);

}  // namespace tavlo
