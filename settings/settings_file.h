#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_file.h"

// The settings file: a small text file of [sections] and "key = value" lines that lies beside
// the program and is named after it (tavlo.cfg), or in the user's configuration folder. It is
// read into a value, Settings, that whoever needs the settings is given; every lookup carries the
// caller's default, so a missing file or key is never an error. The file may be saved in
// Windows-1252, UTF-8 or, as Notepad's "Unicode", UTF-16 with a byte-order mark (DecodeTextFile
// tells which); its texts are held as single-byte (Windows-1252) strings, and each value is also
// kept as the file spells it, for a file name.
namespace tavlo {

struct SettingsEntry {
    std::shared_ptr<const std::string> section;  // shared by the entries of one header
    std::string key;                             // trimmed; empty for a line without "="
    std::string value;                           // trimmed and unquoted; may be empty
    std::int32_t line = 0;                       // line number, counting from 1
    // The value as the file spells it, in UTF-8: a character Windows-1252 cannot hold, which is
    // "?" in `value`, is itself here. A file name is read from this.
    std::string utf8Value;
};

// The entries of one settings file in the order they were read, the file they came from, and the
// start-up values taken from them. An empty Settings (no file) gives every default.
class Settings {
public:
    // The settings file read, if any.
    const std::optional<std::string>& Path() const { return path_; }
    const std::deque<SettingsEntry>& Entries() const { return entries_; }

    // Appends one entry, in the section of the header read last; `utf8Value` is the value as
    // the file spells it (by default `value`'s own characters).
    const SettingsEntry& AddConfigEntry(std::string_view section, std::string_view key,
                                        std::string_view value, std::int32_t line,
                                        std::optional<std::string_view> utf8Value = std::nullopt);

    // The first entry with this section and key (compared byte for byte), or nullptr.
    const SettingsEntry* FindConfigEntry(std::string_view section, std::string_view key) const;

    // The stored value, or `fallback` itself when there is no such entry (nullptr stays nullptr).
    // The text returned is the entry's own: valid while these settings live.
    const char* GetConfigString(std::string_view section, std::string_view key,
                                const char* fallback) const;

    // The leading decimal digits of the stored value, or `fallback` when the value does not
    // start with a digit or there is no entry. Digit runs beyond 2147483647 give 2147483647.
    std::int32_t GetConfigInt(std::string_view section, std::string_view key,
                              std::int32_t fallback) const;

    // The start-up values (settings/startup_values.cpp).
    // [Patch] SearchString, or the word of the user's language when there is none.
    std::string SearchText() const;
    // [Image] Filename (a name or a wildcard pattern) as the file spells it, in UTF-8, the way
    // file names are held: a UTF-8 settings file can name a file in any script. Default "*.rgn".
    std::string FilePattern() const;
    // [Display] `key` ("MagX" or "MagY"), default 2, brought into 1 to 64.
    int Magnification(std::string_view key) const;
    // The owner lines "L1", "L2", ... of `section`: L1 to L7 fall back to their built-in
    // defaults, and the first missing key from L8 on ends the list.
    std::vector<std::string> OwnerLines(std::string_view section) const;

private:
    friend TextFileStatus ReadConfigFileReporting(const std::string& path, Settings& settings);

    std::optional<std::string> path_;
    // A deque never moves what it holds, so a value handed out stays where it is as entries are
    // added.
    std::deque<SettingsEntry> entries_;
    std::shared_ptr<const std::string> currentSection_;
};

// The settings file's path for a program started as `programPath` (argument zero): the program's
// path cut at the last "." of its final component, with ".cfg" appended. When argument zero has
// no directory (started through PATH), the running executable's own location is used. If a file
// of that name in another letter case exists (tavlo.CFG), that file's path is returned.
std::string GetConfigFileName(std::string_view programPath);

// The settings of a program started as `programPath`: the file beside the program, else the
// user's own (SettingsFileToRead, settings/settings_location.h), read afresh. Without a file that
// can be read, empty settings without a path.
Settings LoadConfig(std::string_view programPath);

// Reads `path` into `settings` (after what they hold already). True when the file could be
// opened, whatever it held; then `settings` name it as their file.
bool ReadConfigFile(const std::string& path, Settings& settings);

// The same, telling why a file was not read (not there, no regular file, larger than 1 MiB:
// such a file leaves the settings unchanged) and whether its characters needed converting. A
// file that is valid UTF-8 is read as UTF-8; every other one as Windows-1252 (see
// DecodeTextFile).
TextFileStatus ReadConfigFileReporting(const std::string& path, Settings& settings);

}  // namespace tavlo
