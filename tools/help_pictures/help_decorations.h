#pragma once

#include <optional>

#include "screen/bmp_file.h"

namespace tavlo::tools {

// A drawn picture with the part of its palette in use.
struct PalettePicture {
    IndexedPicture picture;
    int colourCount = 0;
    std::optional<std::uint8_t> transparentIndex;
};

// The help page's list bullet, 15 x 15: a lit amber ball, the corners transparent.
PalettePicture DrawListBullet();

// The help page's background tile, 216 x 18: a faint dark-blue grain on black that repeats
// without seams in both directions, dark enough for white text.
PalettePicture DrawBackgroundTile();

}  // namespace tavlo::tools
