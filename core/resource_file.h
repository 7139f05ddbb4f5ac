#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavlo {

// Writes one of the program's embedded resources to `path` (as the file system spells it), byte
// for byte and whole or not at all, replacing a file that is there. Nothing on success, else
// why not, in plain words (Windows-1252).
std::optional<std::string> WriteResourceFile(std::string_view name, std::string_view type,
                                             const std::string& path);

}  // namespace tavlo
