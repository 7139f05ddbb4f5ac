#pragma once

#include <string>
#include <string_view>

// Every key the program reads, with its built-in default, in one place.
namespace tavlo {

enum class SettingType { Text, Integer };

struct SettingKey {
    const char* section;
    const char* key;
    SettingType type;
    const char* builtInDefault;  // nullptr: no default (the key is optional, or language-bound)
};

// "Image/Filename", "Patch/SearchString", "Display/MagX", "Display/MagY", "Patch/L1".."L7".
const SettingKey* SettingKeys();
std::size_t SettingKeyCount();

// The built-in default of a key of the table, or nullptr (also for "L8" and later keys).
const char* BuiltInDefault(std::string_view section, std::string_view key);

inline constexpr const char* kImageSection = "Image";
inline constexpr const char* kPatchSection = "Patch";
inline constexpr const char* kDisplaySection = "Display";

// The example e-mail address of owner line L4, also written into the default settings file.
inline constexpr const char* kExampleEmail = "t@example.org";

enum class UserLanguage { English, German, French, Italian, Spanish };

// The language of a POSIX locale name: "de..." German, "fr..." French, "it..." Italian,
// "es..." Spanish, anything else (also empty, "C", "POSIX") English.
UserLanguage LanguageFromLocaleName(std::string_view localeName);

// The user's locale name as the environment gives it: LC_ALL, else LC_MESSAGES, else LANG
// (the first one that is set and not empty).
std::string UserLocaleName();

// The search text a receiver set to this language shows: "WARNING", "WARNUNG", "ATTENTION",
// "ATTENZIONE" or "ATENCI\xD3N" (Windows-1252).
const char* LanguageSearchText(UserLanguage language);

// The five search words in the order the drop-down list shows them (sorted by byte value).
inline constexpr const char* kSearchWords[] = {"ATENCI\xD3N", "ATTENTION", "ATTENZIONE", "WARNING",
                                               "WARNUNG"};

}  // namespace tavlo
