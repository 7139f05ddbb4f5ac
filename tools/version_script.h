#pragma once

#include <string>

#include "core/version_resource_writer.h"

namespace tavlo {

// The same content as WriteVersionResource's, as a resource script's VERSIONINFO statement for
// windres to compile: everything after "<name> VERSIONINFO".
std::string WriteVersionScript(const VersionResourceContent& content);

}  // namespace tavlo
