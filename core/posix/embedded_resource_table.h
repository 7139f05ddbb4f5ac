#pragma once

#include <cstddef>

// The resources as C++ arrays, the way the Linux build carries them: a table generated from
// resources/ at build time by cmake/EmbedResources.cmake. (The Windows build compiles the same
// list into real resources of its own instead.)
namespace tavlo {

// One file carried inside the program. Its bytes live in the program's read-only data for the
// whole run: they are used in place, never copied and never freed.
struct EmbeddedResource {
    const char* type;  // "RT_TAVLO", "BITMAP", "IMG", "23", ...
    const char* name;  // "TAVLO.CFG", "#132" for a numbered resource, ...
    const unsigned char* bytes;
    std::size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace tavlo
