#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "screen/bmp_file.h"

namespace tavlo::tools {

// A GIF89a file of one image: the picture's first `colourCount` palette entries (2 to 256) as
// the global colour table, and optionally one of them transparent. The image data is LZW in
// name only: every pixel is a literal code, with a clear code before the code width would grow.
// That makes files a little larger than a real compressor's and the encoder a page long, which
// suits the small pictures it is used for.
std::vector<std::uint8_t> EncodeGif(const IndexedPicture& picture, int colourCount,
                                    std::optional<std::uint8_t> transparentIndex = std::nullopt);

}  // namespace tavlo::tools
