#include "settings/startup_values.h"

#include <algorithm>

#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace tavlo {

std::string Settings::SearchText() const {
    const char* languageDefault = LanguageSearchText(LanguageFromLocaleName(UserLocaleName()));
    return GetConfigString(kPatchSection, "SearchString", languageDefault);
}

std::string Settings::FilePattern() const {
    const SettingsEntry* entry = FindConfigEntry(kImageSection, "Filename");
    return entry ? entry->utf8Value : BuiltInDefault(kImageSection, "Filename");
}

int Settings::Magnification(std::string_view key) const {
    return std::clamp(GetConfigInt(kDisplaySection, key, kDefaultMagnification), kMinMagnification,
                      kMaxMagnification);
}

std::vector<std::string> Settings::OwnerLines(std::string_view section) const {
    std::vector<std::string> lines;
    for (int n = 1;; ++n) {
        const std::string key = "L" + std::to_string(n);
        // The owner lines' defaults are those of the "Patch" keys, whichever section is read;
        // from "L8" on there is none, so the first missing key ends the list.
        const char* value = GetConfigString(section, key, BuiltInDefault(kPatchSection, key));
        if (value == nullptr) {
            return lines;
        }
        lines.emplace_back(value);
    }
}

}  // namespace tavlo
