#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// What the program needs of the desktop platform's version interface, over a version resource in
// the platform's layout (VS_VERSIONINFO). The program carries its own resource inside itself
// (type 16, name "#1"), generated at build time from the project version.
namespace tavlo {

// A value found in a version resource: its bytes inside the block, and whether it is text (then
// UTF-16 little-endian units, usually ending in a zero unit) or binary data.
struct VersionValue {
    std::span<const std::uint8_t> bytes;
    bool isText = false;
};

// Finds a value by its path inside a version resource: "\" the fixed part,
// "\VarFileInfo\Translation" the translation array, "\StringFileInfo\040904B0\ProductVersion" a
// text. Keys are compared without regard to the case of ASCII letters. Every read stays inside
// `block`, whatever its bytes: a malformed node ends the search as "absent".
std::optional<VersionValue> VerQueryValue(std::span<const std::uint8_t> block,
                                          std::string_view path);

// Where a version reader gets a file's resource from: the platform's version and module
// interface. Tests substitute their own.
class VersionResourceSource {
public:
    virtual ~VersionResourceSource() = default;

    // The size in bytes of the file's version resource; 0 when it has none or cannot be read.
    virtual std::uint32_t GetFileVersionInfoSize(const std::string& fileName) = 0;

    // Copies the file's version resource into `block` (`size` bytes); false on failure.
    virtual bool GetFileVersionInfo(const std::string& fileName, std::uint32_t size,
                                    std::uint8_t* block) = 0;

    // The full path of the running program's file.
    virtual std::string GetModuleFileName() = 0;

    // A block for the resource, or nullptr when memory is exhausted.
    virtual std::unique_ptr<std::uint8_t[]> AllocateBlock(std::uint32_t size);
};

// The platform's source. On Windows it is the system's version interface, which reads any
// file's resource. On Linux it is the resource the program carries inside itself, answered for
// the program's own file only: for any other file the size is 0.
VersionResourceSource& ProgramVersionResource();

}  // namespace tavlo
