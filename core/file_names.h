#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// File names as the program holds them: UTF-8 on every platform (on Linux the system's own
// bytes, on Windows the UTF-8 spelling of its UTF-16 names), whatever script they are in. Only
// the search text and the owner text are bound to the receiver's Windows-1252.
namespace tavlo {

// The characters that end a folder's name in a path: Windows takes "\\" as well as "/".
#ifdef _WIN32
inline constexpr const char* kPathSeparators = "/\\";
inline constexpr bool kNamesIgnoreCase = true;  // the file system finds any spelling
#else
inline constexpr const char* kPathSeparators = "/";
inline constexpr bool kNamesIgnoreCase = false;
#endif

// A file-system name (UTF-8 on every platform) as a std::filesystem path, and back. A narrow
// string would be read in the ANSI code page on Windows, which mangles every name outside ASCII.
std::filesystem::path FileSystemPath(std::string_view nativePath);
std::string NativePathOf(const std::filesystem::path& path);

// A file name as a message box shows it (UTF-8): every character as it is, in any script, but
// a control character (a line break in a Linux name, say) as its visible symbol (U+2400 and
// on) and a byte that is not UTF-8 as U+FFFD, so that the name stays on its line of the message.
std::string PathForMessageBox(std::string_view nativePath);

// Whether `name` matches `pattern`, character by character, where "*" stands for any run of
// characters and "?" for any one character (a byte that is not UTF-8 counts as one); ASCII
// letters match in either case, as file names do on the desktop platform.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The file that a name with wildcards in its final component stands for: of the regular files
// in the pattern's directory (the current one when it has none) whose names match, the first in
// byte order, with the pattern's directory part kept as written. Nothing when no file matches.
std::optional<std::string> FirstMatchingFile(std::string_view pattern);

}  // namespace tavlo
