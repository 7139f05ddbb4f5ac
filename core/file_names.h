#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// File names between the dialog's fields (Windows-1252 text) and the file system (UTF-8 names).
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

// The file-system path of a name typed in a field.
std::string NativePath(std::string_view windows1252);

// A file-system path as field text, or nothing when a character of it has no Windows-1252 byte.
std::optional<std::string> FieldTextOfPath(std::string_view nativePath);

// Whether `name` matches `pattern`, where "*" stands for any run of characters and "?" for any
// one character; ASCII letters match in either case, as file names do on the desktop platform.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The file that a name with wildcards in its final component stands for: of the regular files
// in the pattern's directory (the current one when it has none) whose names match, the first in
// byte order, with the pattern's directory part kept as written. Nothing when no file matches.
// Pattern and result are Windows-1252 text.
std::optional<std::string> FirstMatchingFile(std::string_view pattern);

}  // namespace tavlo
