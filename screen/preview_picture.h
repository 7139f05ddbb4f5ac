#pragma once

#include <cstdint>
#include <string_view>
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

// The picture of the receiver (bitmap 132) as the program carries it, decoded once; nullptr when
// the program carries none that can be read.
const IndexedPicture* ScreenPicture();

// What the patch dialog's preview shows: the screen picture stretched by magX x magY (each of
// its pixels a magX x magY block), and on it `text` laid out in the receiver's font, every lit
// device pixel a square in `colour`. Magnifications must be 1 or more; without a font only the
// picture is drawn, without a picture the background is black.
RgbRaster ComposePreview(const DeviceFont* font, std::string_view text, int magX, int magY,
                         Rgb colour);

}  // namespace tavlo
