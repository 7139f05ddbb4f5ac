#pragma once

#include <string>
#include <string_view>

namespace tavlo::cli {

// A Windows-1252 text (a message of the firmware, a search text, a value of the settings) made
// safe for one line of a terminal or a script: "\n", "\r", "\t" and "\\" as those escapes, every
// other control character (bytes below 32, DEL and the bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D,
// which stand for C1 controls) as "\xHH", the other bytes from 128 on as their Windows-1252
// character in UTF-8.
std::string EscapeForTerminal(std::string_view text);

// A UTF-8 text made safe for one line the same way: a file name as the file system spells it,
// a word of the command line, a whole message. Every character stays as it is, backslashes too
// (on Windows they separate a path's folders), except the control characters (C0, DEL and the
// C1 controls U+0080 to U+009F), written as "\n", "\r", "\t" or "\xHH" for each of their bytes,
// and bytes that are not UTF-8, each as "\xHH".
std::string EscapeUtf8ForTerminal(std::string_view utf8);

}  // namespace tavlo::cli
