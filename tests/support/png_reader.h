#pragma once

#include <optional>
#include <string>

#include "screen/preview_picture.h"

namespace tavlo::test {

// Reads a PNG file as 24-bit colour; nothing when it is missing or not a PNG.
std::optional<RgbRaster> ReadPng(const std::string& path);

// Whether any pixel of the picture has this colour.
bool HasColour(const RgbRaster& picture, Rgb colour);

}  // namespace tavlo::test
