#pragma once

// The receiver's screen and the picture of it that the preview draws on.
namespace tavlo {

// The device screen in device pixels: seven text lines of 12 rows, 108 columns wide.
inline constexpr int kScreenWidth = 108;
inline constexpr int kScreenHeight = 91;

// The picture of the receiver (bitmap 132) in its own pixels.
inline constexpr int kPictureWidth = 120;
inline constexpr int kPictureHeight = 133;

// Device column 0, row 0 lies this many surface pixels right of and below the picture's corner,
// whatever the magnification.
inline constexpr int kTextOffsetX = 10;
inline constexpr int kTextOffsetY = 20;

}  // namespace tavlo
