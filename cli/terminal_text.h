#pragma once

#include <string>
#include <string_view>

namespace tavlo::cli {

// A Windows-1252 text made safe for one line of a terminal or a script: "\n", "\r", "\t" and
// "\\" as those escapes, other bytes below 32 as "\xHH", bytes 128-255 as their Windows-1252
// character in UTF-8.
std::string EscapeForTerminal(std::string_view text);

}  // namespace tavlo::cli
