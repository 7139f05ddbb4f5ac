#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Writes a version resource in the layout the desktop platform defines (VS_VERSIONINFO): a tree
// of nodes, each a length, a value length, a type, a UTF-16 key and a value, every part aligned
// to four bytes from the start of the resource. Used at build time to make the program's own
// resource and by the tests to make resources of every shape.
namespace tavlo {

struct VersionStringTable {
    std::string blockName;  // language and code page as eight hexadecimal digits, "040904b0"
    std::vector<std::pair<std::string, std::string>> strings;  // key, value (ASCII)
};

struct VersionResourceContent {
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    std::uint32_t fileFlagsMask = 0x3F;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOs = 4;    // 32-bit Windows
    std::uint32_t fileType = 1;  // application
    std::uint32_t fileSubtype = 0;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;  // language, code page
    std::vector<VersionStringTable> stringTables;
};

// The content of Tavlo's own resource for the version major.minor.patch.tweak: one translation,
// US English (0x0409) in Unicode (code page 1200), and its string table.
VersionResourceContent ProgramVersionContent(const std::array<std::uint16_t, 4>& version);

// "1, 0, 3, 0": the way the version texts of the resource spell a version.
std::string VersionText(const std::array<std::uint16_t, 4>& version);

std::vector<std::uint8_t> WriteVersionResource(const VersionResourceContent& content);

}  // namespace tavlo
