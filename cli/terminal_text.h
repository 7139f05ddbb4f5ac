#pragma once

#include <string>
#include <string_view>

namespace tavlo::cli {

// A Windows-1252 text made safe for one line of a terminal or a script: "\n", "\r", "\t" and
// "\\" as those escapes, every other control character (bytes below 32, DEL and the bytes
// 0x81, 0x8D, 0x8F, 0x90, 0x9D, which stand for C1 controls) as "\xHH", the other bytes from 128
// on as their Windows-1252 character in UTF-8.
std::string EscapeForTerminal(std::string_view text);

// A path the same way, except that on Windows, where no name can hold one, its folder separator
// "\" is shown as it is ("C:\gps\unit.rgn", not "C:\\gps\\unit.rgn").
std::string EscapePathForTerminal(std::string_view path);

}  // namespace tavlo::cli
