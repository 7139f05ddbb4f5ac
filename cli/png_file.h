#pragma once

#include <optional>
#include <string>

#include "screen/preview_picture.h"

namespace tavlo::cli {

// Writes the raster as a 24-bit PNG file at `path` (as the command line gave it), whole or not
// at all, through the one safe save: never onto the firmware file `firmwarePath` or its backup,
// never into anything but a regular file. Nothing on success, else why not.
std::optional<std::string> WritePng(const std::string& path, const RgbRaster& raster,
                                    const std::string& firmwarePath);

}  // namespace tavlo::cli
