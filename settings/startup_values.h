#pragma once

// The limits of the start-up values that both the desktop program and tavlo-cli take from the
// settings (Settings::SearchText, FilePattern, Magnification, OwnerLines).
namespace tavlo {

// [Display] MagX and MagY when the settings have none.
inline constexpr int kDefaultMagnification = 2;

// The magnifications the preview draws at, in each direction: one device pixel is at least one
// surface pixel, and at most 64, which keeps the magnified picture to a few megabytes.
inline constexpr int kMinMagnification = 1;
inline constexpr int kMaxMagnification = 64;

}  // namespace tavlo
