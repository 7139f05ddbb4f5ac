// The settings reader over arbitrary file contents, then every lookup the program makes.
//
// Besides "no crash, no read out of bounds", the store is compared with a plain re-reading of
// the same text (the bytes in Windows-1252, converted from UTF-8 when they are UTF-8) by the file
// rules (pieces of at most 255 bytes, a NUL ending a piece's text, trimming, comments, headers, the
// first "=", one pair of single quotes), and every lookup is checked against the store: the first
// entry of a section and key wins, and an integer is the leading run of digits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_file.h"
#include "core/windows1252.h"
#include "fuzz_support.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/startup_values.h"

namespace {

using tavlo::fuzz::InputFile;

struct ExpectedEntry {
    std::string section;
    std::string key;
    std::string value;
    std::int32_t line;
};

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && IsWhite(text[first])) {
        ++first;
    }
    std::size_t last = text.size();
    while (last > first && IsWhite(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

std::string_view Unquote(std::string_view text) {
    if (text.size() >= 2 && text[0] == '\'' && text[text.size() - 1] == '\'') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// The entries the file rules give for these bytes.
std::vector<ExpectedEntry> ExpectedEntries(std::string_view bytes) {
    std::vector<ExpectedEntry> entries;
    std::string section;
    std::int32_t line = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        // A piece ends after its line feed or after 255 bytes, whichever comes first.
        std::size_t size = 0;
        while (size < 255 && at + size < bytes.size()) {
            if (bytes[at + size++] == '\n') {
                break;
            }
        }
        std::string_view piece = bytes.substr(at, size);
        at += size;
        ++line;
        piece = Trim(piece.substr(0, piece.find('\0')));
        if (piece.empty() || piece[0] == ';') {
            continue;
        }
        if (piece.size() >= 2 && piece[0] == '[' && piece[piece.size() - 1] == ']') {
            section = std::string(piece.substr(1, piece.size() - 2));
            continue;
        }
        const std::size_t equals = piece.find('=');
        if (equals == std::string_view::npos) {
            entries.push_back({section, "", std::string(Unquote(piece)), line});
        } else {
            entries.push_back({section, std::string(Trim(piece.substr(0, equals))),
                               std::string(Unquote(Trim(piece.substr(equals + 1)))), line});
        }
    }
    return entries;
}

// The index of the first entry with this section and key, or -1.
int FirstIndex(const std::deque<tavlo::SettingsEntry>& entries, std::string_view section,
               std::string_view key) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (*entries[i].section == section && entries[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::int32_t ExpectedInt(const char* text, std::int32_t fallback) {
    if (text == nullptr || *text < '0' || *text > '9') {
        return fallback;
    }
    std::int64_t number = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        number = number * 10 + (*text - '0');
        if (number > std::numeric_limits<std::int32_t>::max()) {
            number = std::numeric_limits<std::int32_t>::max();
        }
    }
    return static_cast<std::int32_t>(number);
}

// One lookup of each kind, checked against the settings read.
void CheckLookups(const tavlo::Settings& settings, std::string_view section, std::string_view key) {
    const auto& entries = settings.Entries();
    const int index = FirstIndex(entries, section, key);
    const tavlo::SettingsEntry* found = settings.FindConfigEntry(section, key);
    FUZZ_CHECK(index < 0 ? found == nullptr : found == &entries[static_cast<std::size_t>(index)]);

    static const char kFallback[] = "fallback";
    const char* text = settings.GetConfigString(section, key, kFallback);
    const char* none = settings.GetConfigString(section, key, nullptr);
    if (index < 0) {
        FUZZ_CHECK(text == kFallback);
        FUZZ_CHECK(none == nullptr);
    } else {
        FUZZ_CHECK(text != nullptr && text == none);
        FUZZ_CHECK(entries[static_cast<std::size_t>(index)].value == text);
    }
    FUZZ_CHECK(settings.GetConfigInt(section, key, -7) == ExpectedInt(none, -7));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InputFile input;
    const std::string& path = input.Write(data, size);

    tavlo::Settings settings;
    const auto& entries = settings.Entries();
    if (size > tavlo::kMaxTextFileSize) {
        FUZZ_CHECK(!tavlo::ReadConfigFile(path, settings));
        FUZZ_CHECK(entries.empty() && !settings.Path());
        return 0;
    }
    FUZZ_CHECK(tavlo::ReadConfigFile(path, settings));

    // The file rules apply to the text in Windows-1252, whichever encoding the file was saved in
    // (the conversion itself is checked by the core's tests).
    const std::string text =
        tavlo::DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size)).text;
    const std::vector<ExpectedEntry> expected = ExpectedEntries(text);
    FUZZ_CHECK(entries.size() == expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(entries[i].section != nullptr);
        FUZZ_CHECK(*entries[i].section == expected[i].section);
        FUZZ_CHECK(entries[i].key == expected[i].key);
        FUZZ_CHECK(entries[i].value == expected[i].value);
        FUZZ_CHECK(entries[i].line == expected[i].line);
    }

    // Every key the program reads, the owner lines beyond L7, and every section and key the
    // file itself names.
    for (std::size_t i = 0; i < tavlo::SettingKeyCount(); ++i) {
        CheckLookups(settings, tavlo::SettingKeys()[i].section, tavlo::SettingKeys()[i].key);
    }
    for (int n = 1; n <= 12; ++n) {
        CheckLookups(settings, tavlo::kPatchSection, "L" + std::to_string(n));
    }
    // (A bounded number, so a file of many short lines stays quick.)
    const std::size_t named = std::min<std::size_t>(expected.size(), 256);
    for (std::size_t i = 0; i < named; ++i) {
        CheckLookups(settings, expected[i].section, expected[i].key);
    }

    // Whatever the file asks for, the preview's magnification stays within its bounds.
    for (const char* key : {"MagX", "MagY"}) {
        const int magnification = settings.Magnification(key);
        FUZZ_CHECK(magnification >= tavlo::kMinMagnification &&
                   magnification <= tavlo::kMaxMagnification);
    }

    // A second read appends the same entries again; the first of each pair still wins.
    FUZZ_CHECK(tavlo::ReadConfigFile(path, settings));
    FUZZ_CHECK(entries.size() == 2 * expected.size());
    for (std::size_t i = 0; i < named; ++i) {
        CheckLookups(settings, expected[i].section, expected[i].key);
    }
    // Settings without a file give every default.
    FUZZ_CHECK(tavlo::Settings().GetConfigString(tavlo::kImageSection, "Filename", nullptr) ==
               nullptr);
    return 0;
}
