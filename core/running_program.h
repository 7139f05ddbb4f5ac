#pragma once

#include <optional>
#include <string>

namespace tavlo {

// The full path of the running program's own file, as the system knows it (a program started
// through PATH has no folder in its argument zero). Nothing when the system cannot tell.
std::optional<std::string> RunningExecutablePath();

}  // namespace tavlo
