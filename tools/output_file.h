#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavlo::tools {

// Writes the whole file; on failure prints why to the standard error stream and returns false.
bool WriteOutputFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace tavlo::tools
