#pragma once

#include <string>
#include <string_view>

#include "screen/bmp_file.h"
#include "screen/screen_geometry.h"

namespace tavlo::tools {

// The picture of the receiver's screen that the patch preview draws the text on (bitmap 132):
// kPictureWidth x kPictureHeight pixels in four colours, the screen area framed by a one-pixel
// outline at rows 4-96 and columns 4-116, and below it a three-line caption.

// Palette indices of the four colours; the other 252 entries are black and unused.
enum PictureColour : std::uint8_t { kBlack = 0, kDark = 1, kBody = 2, kLight = 3 };
inline constexpr Rgb kBlackRgb{0, 0, 0};
inline constexpr Rgb kDarkRgb{94, 100, 92};
inline constexpr Rgb kBodyRgb{138, 144, 129};
inline constexpr Rgb kLightRgb{183, 185, 162};

// The caption lies within these rows; each line is centred across the picture.
inline constexpr int kCaptionTop = 100;
inline constexpr int kCaptionBottom = 127;
inline constexpr std::string_view kCaptionLines[] = {
    "If the font color above is red, you",
    "have exceeded the maximum size",
    "and your text will be truncated.",
};

struct ScreenPictureDrawing {
    IndexedPicture picture;
    std::string error;  // empty on success; set when the caption cannot be drawn or does not fit
};

ScreenPictureDrawing DrawScreenPicture();

}  // namespace tavlo::tools
