#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/firmware_image.h"
#include "support/test_files.h"

namespace tavlo::test {

// Writes `bytes` to a file in `dir` and loads it into `image`; fails the test when Load does.
inline std::string LoadBytes(const TempDir& dir, FirmwareImage& image, std::string_view bytes,
                             std::string_view name = "firmware.rgn") {
    const std::string path = dir.File(name);
    WriteFile(path, bytes);
    if (!image.Load(path)) {
        ADD_FAILURE() << "cannot load " << path << ": " << image.LastError();
    }
    return path;
}

// The image's bytes as a string (without the zero byte after them).
inline std::string ImageBytes(const FirmwareImage& image) {
    return std::string(reinterpret_cast<const char*>(image.Data()), image.Length());
}

}  // namespace tavlo::test
