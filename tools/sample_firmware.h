#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tavlo::tools {

// Our own container for firmware update files: "KpGr", a format version (uint16 little-endian),
// then records up to the end of the file, each a payload size (uint32 little-endian), a type
// letter and the payload.
inline constexpr char kContainerMagic[] = "KpGr";
inline constexpr std::uint16_t kContainerVersion = 100;
inline constexpr char kRecordData = 'D';         // version information
inline constexpr char kRecordRegion = 'R';       // the receiver's software region
inline constexpr char kRecordApplication = 'A';  // the start-up code

// The power-on message of the sample firmware, as the receiver shows it.
inline constexpr std::string_view kSamplePowerOnMessage =
    "WARNING\n"
    "This receiver is an aid to\n"
    "navigation only. Do not rely\n"
    "on it alone: always carry a\n"
    "map and compass and use your\n"
    "own judgement.\n"
    "Press any key";

void AppendRecord(std::vector<std::uint8_t>& file, char type,
                  const std::vector<std::uint8_t>& payload);

// A small firmware update file with everything a patch needs: the power-on message, the same
// message's first word in the other languages, and the receiver font's glyph table. The bytes
// depend on nothing but `glyphTable`, so every run writes the same file.
std::vector<std::uint8_t> BuildSampleFirmware(const std::vector<std::uint8_t>& glyphTable);

}  // namespace tavlo::tools
