#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tavlo {

// Finds a file carried inside the program (resources/CMakeLists.txt lists them) by name and
// type. Both are compared without regard to case (ASCII letters), as resource names are on the
// receiver software's original platform. A numbered resource is named "#" and its number in
// decimal; a numbered type is its number ("23"). The bytes live in the program's read-only data
// for the whole run: they are used in place, never copied and never freed.
std::optional<std::span<const std::uint8_t>> FindResource(std::string_view name,
                                                          std::string_view type);

}  // namespace tavlo
