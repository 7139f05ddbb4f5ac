#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tavlo::tools {

// The power-on message of the sample firmware, as the receiver shows it.
inline constexpr std::string_view kSamplePowerOnMessage =
    "WARNING\n"
    "This receiver is an aid to\n"
    "navigation only. Do not rely\n"
    "on it alone: always carry a\n"
    "map and compass and use your\n"
    "own judgement.\n"
    "Press any key";

// A small firmware update file with everything a patch needs: the power-on message, the same
// message's first word in the other languages, and the receiver font's glyph table. The bytes
// depend on nothing but `glyphTable`, so every run writes the same file.
std::vector<std::uint8_t> BuildSampleFirmware(const std::vector<std::uint8_t>& glyphTable);

}  // namespace tavlo::tools
