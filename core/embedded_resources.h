#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tavlo {

// One file carried inside the program. Its bytes live in the program's read-only data for the
// whole run: they are used in place, never copied and never freed.
struct EmbeddedResource {
    const char* type;  // "RT_TAVLO", "BITMAP", "IMG", "23", ...
    const char* name;  // "TAVLO.CFG", "#132" for a numbered resource, ...
    const unsigned char* bytes;
    std::size_t size;
};

// Generated from resources/ at build time.
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

// Finds a resource by name and type. Both are compared without regard to case (ASCII letters),
// as resource names are on the receiver software's original platform. A numbered resource is
// named "#" and its number in decimal.
std::optional<std::span<const std::uint8_t>> FindResource(std::string_view name,
                                                          std::string_view type);

}  // namespace tavlo
