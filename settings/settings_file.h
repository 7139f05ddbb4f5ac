#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_file.h"

// The settings file: a small text file of [sections] and "key = value" lines that lies beside
// the program and is named after it (tavlo.cfg), or in the user's configuration folder. Its entries
// are read into one process-wide store; every lookup carries the caller's default, so a missing
// file or key is never an error. All texts are single-byte (Windows-1252) strings, held exactly as
// read.
namespace tavlo {

struct SettingsEntry {
    std::shared_ptr<const std::string> section;  // shared by the entries of one header
    std::string key;                             // trimmed; empty for a line without "="
    std::string value;                           // trimmed and unquoted; may be empty
    std::int32_t line = 0;                       // line number, counting from 1
};

// The process-wide store, entries in the order they were read.
class SettingsFile {
public:
    static SettingsFile& Instance();

    const std::vector<SettingsEntry>& Entries() const { return entries_; }

private:
    friend TextFileStatus ReadConfigFileReporting(const std::string& path);
    friend const SettingsEntry& AddConfigEntry(std::string_view, std::string_view, std::string_view,
                                               std::int32_t);
    friend void FreeConfig();

    std::vector<SettingsEntry> entries_;
    std::shared_ptr<const std::string> currentSection_;
};

// The settings file's path for a program started as `programPath` (argument zero): the program's
// path cut at the last "." of its final component, with ".cfg" appended. When argument zero has
// no directory (started through PATH), the running executable's own location is used. If a file
// of that name in another letter case exists (tavlo.cfg), that file's path is returned.
// The result stays valid until the next call.
const std::string& GetConfigFileName(std::string_view programPath);

// Reads the settings file of `programPath` into the store (without emptying it first): the one
// beside the program, else the user's own (SettingsFileToRead, settings/settings_location.h).
// Returns the path read if the file could be opened, else nullptr; valid until the next call.
const char* LoadConfig(std::string_view programPath);

// Reads `path` into the store. True when the file could be opened, whatever it held.
bool ReadConfigFile(const std::string& path);

// The same, telling why a file was not read (not there, no regular file, larger than 1 MiB:
// such a file leaves the store unchanged) and whether its characters needed converting. A file
// that is valid UTF-8 is read as UTF-8; every other one as Windows-1252 (see DecodeTextFile).
TextFileStatus ReadConfigFileReporting(const std::string& path);

// Appends one entry to the store, in the section currently being read.
const SettingsEntry& AddConfigEntry(std::string_view section, std::string_view key,
                                    std::string_view value, std::int32_t line);

// The first entry with this section and key (compared byte for byte), or nullptr.
const SettingsEntry* FindConfigEntry(std::string_view section, std::string_view key);

// The stored value, or `fallback` itself when there is no such entry (nullptr stays nullptr).
// The text returned is the store's own copy: valid until the next FreeConfig.
const char* GetConfigString(std::string_view section, std::string_view key, const char* fallback);

// The leading decimal digits of the stored value, or `fallback` when the value does not start
// with a digit or there is no entry. Digit runs beyond 2147483647 give 2147483647.
std::int32_t GetConfigInt(std::string_view section, std::string_view key, std::int32_t fallback);

// Empties the store. Safe on an empty store.
void FreeConfig();

}  // namespace tavlo
