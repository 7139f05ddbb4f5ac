#pragma once

#include <string>

#include "screen/preview_picture.h"

namespace tavlo::cli {

// Writes the raster as a 24-bit PNG file (the path as the command line gave it). False when the
// file cannot be written.
bool WritePng(const std::string& path, const RgbRaster& raster);

}  // namespace tavlo::cli
