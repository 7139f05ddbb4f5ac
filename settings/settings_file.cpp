#include "settings/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>

#include "core/windows1252.h"
#include "settings/config_line.h"
#include "settings/settings_location.h"

namespace tavlo {

namespace {

using settings_detail::ConfigLine;
using settings_detail::ParseConfigLine;

// No memory for the settings: the reader cannot go on, and nothing is shown to the user.
[[noreturn]] void ExitOutOfMemory() {
    std::fputs("out of mem in AddConfigEntry\n", stderr);
    std::exit(-1);
}

std::shared_ptr<const std::string> CopySectionName(std::string_view name) {
    try {
        return std::make_shared<const std::string>(name);
    } catch (const std::bad_alloc&) {
        ExitOutOfMemory();
    }
}

// The reader takes at most 255 bytes at a time, the line feed included; a longer line is read
// as several pieces, each parsed and counted as a line of its own.
constexpr std::size_t kPieceSize = 255;

// The next piece of `text` from `at`: up to and including a line feed, at most kPieceSize bytes.
std::string_view NextPiece(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at, kPieceSize);
    const std::size_t lineFeed = rest.find('\n');
    return lineFeed == std::string_view::npos ? rest : rest.substr(0, lineFeed + 1);
}

// The UTF-8 spelling of the next `count` characters of `utf8` from `at` (the file's text, one
// character for each Windows-1252 byte); `at` moves past them.
std::string_view NextCharacters(std::string_view utf8, std::size_t& at, std::size_t count) {
    const std::size_t from = at;
    for (; count > 0 && at < utf8.size(); --count) {
        char32_t unused = 0;
        if (!DecodeUtf8(utf8, at, unused)) {
            ++at;  // not reached: the text was made as UTF-8
        }
    }
    return utf8.substr(from, at - from);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool ReadConfigFile(const std::string& path, Settings& settings) {
    return ReadConfigFileReporting(path, settings).outcome == TextFileStatus::Outcome::Read;
}

TextFileStatus ReadConfigFileReporting(const std::string& path, Settings& settings) {
    // Read whole and bounded: a pipe, a device or a huge file never gets this far.
    const TextFile file = ReadTextFile(path);
    if (file.status.outcome != TextFileStatus::Outcome::Read) {
        return file.status;
    }
    settings.path_ = path;
    settings.currentSection_ = CopySectionName({});
    std::int32_t lineNumber = 0;
    std::size_t utf8At = 0;
    for (std::size_t at = 0; at < file.text.size();) {
        const std::string_view piece = NextPiece(file.text, at);
        at += piece.size();
        ++lineNumber;  // a file of at most 1 MiB has far fewer lines than the counter holds
        // The piece's text ends at its first NUL byte: the rest of the piece is ignored.
        const std::size_t end = piece.find('\0');
        const ConfigLine line = ParseConfigLine(piece.substr(0, end));
        // The same piece in the file's own characters. The line's marks (white space, "[", "]",
        // "=", ";", "'") are ASCII, one byte either way, so it parses alike.
        const std::string_view utf8Piece = NextCharacters(file.utf8, utf8At, piece.size());
        std::size_t utf8End = 0;
        NextCharacters(utf8Piece, utf8End, end == std::string_view::npos ? piece.size() : end);
        const ConfigLine utf8Line = ParseConfigLine(utf8Piece.substr(0, utf8End));
        switch (line.kind) {
            case ConfigLine::Kind::Ignored:
                break;
            case ConfigLine::Kind::Header:
                settings.currentSection_ = CopySectionName(line.section);
                break;
            case ConfigLine::Kind::Entry:
                settings.AddConfigEntry(*settings.currentSection_, line.key, line.value, lineNumber,
                                        utf8Line.value);
                break;
        }
    }
    return file.status;
}

const SettingsEntry& Settings::AddConfigEntry(std::string_view section, std::string_view key,
                                              std::string_view value, std::int32_t line,
                                              std::optional<std::string_view> utf8Value) {
    try {
        // Entries under one header share one copy of its name.
        if (!currentSection_ || *currentSection_ != section) {
            currentSection_ = std::make_shared<const std::string>(section);
        }
        entries_.push_back({currentSection_, std::string(key), std::string(value), line,
                            utf8Value ? std::string(*utf8Value) : Windows1252ToUtf8(value)});
    } catch (const std::bad_alloc&) {
        ExitOutOfMemory();
    }
    return entries_.back();
}

const SettingsEntry* Settings::FindConfigEntry(std::string_view section,
                                               std::string_view key) const {
    const auto found = std::ranges::find_if(entries_, [&](const SettingsEntry& entry) {
        return entry.key == key && *entry.section == section;
    });
    return found == entries_.end() ? nullptr : &*found;
}

const char* Settings::GetConfigString(std::string_view section, std::string_view key,
                                      const char* fallback) const {
    const SettingsEntry* entry = FindConfigEntry(section, key);
    return entry == nullptr ? fallback : entry->value.c_str();
}

std::int32_t Settings::GetConfigInt(std::string_view section, std::string_view key,
                                    std::int32_t fallback) const {
    // "x" is no digit: a missing entry gives the fallback like any value without leading digits.
    const char* text = GetConfigString(section, key, "x");
    if (!IsDigit(*text)) {
        return fallback;
    }
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    std::int64_t number = 0;
    for (; IsDigit(*text); ++text) {
        number = std::min(number * 10 + (*text - '0'), kLargest);
    }
    return static_cast<std::int32_t>(number);
}

Settings LoadConfig(std::string_view programPath) {
    Settings settings;
    if (const std::optional<std::string> path = SettingsFileToRead(programPath)) {
        ReadConfigFile(*path, settings);
    }
    return settings;
}

}  // namespace tavlo
