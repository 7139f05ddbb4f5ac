#pragma once

#include <optional>
#include <string>

#include "screen/preview_picture.h"

namespace tavlo::test {

// Reads a PNG file as 24-bit colour; nothing when it is missing or not a PNG.
std::optional<RgbRaster> ReadPng(const std::string& path);

// Writes the picture as a PNG file; false when it cannot be written.
bool WritePng(const std::string& path, const RgbRaster& picture);

// Whether any pixel of the picture has this colour.
bool HasColour(const RgbRaster& picture, Rgb colour);

}  // namespace tavlo::test
