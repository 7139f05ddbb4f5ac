#pragma once

#include <cstdint>
#include <string>

#include "core/posix/posix_io.h"

namespace tavlo {

// Opens a firmware file for reading and tells its size. Refuses what cannot be an image: a
// folder, anything but a regular file (a named pipe would hold the reader up), and a file of
// 4 GiB or more (an image's length is a 32-bit count). On failure the descriptor is not open
// and `error` says why in plain words.
UniqueFd OpenFirmwareFile(const std::string& path, std::uint32_t& size, std::string& error);

}  // namespace tavlo
