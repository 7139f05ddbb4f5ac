#include "settings/settings_keys.h"

#include <cstdlib>
#include <iterator>

namespace tavlo {

namespace {

// Owner lines L8 and on have no default: the owner text ends at the first one missing.
constexpr SettingKey kSettingKeys[] = {
    {kImageSection, "Filename", SettingType::Text, "*.rgn"},
    // Follows the user's language: see LanguageSearchText.
    {kPatchSection, "SearchString", SettingType::Text, nullptr},
    {kDisplaySection, "MagX", SettingType::Integer, "2"},
    {kDisplaySection, "MagY", SettingType::Integer, "2"},
    {kPatchSection, "L1", SettingType::Text, "Terry N. Owner"},
    {kPatchSection, "L2", SettingType::Text, ""},
    {kPatchSection, "L3", SettingType::Text, "(555) 31122000"},
    {kPatchSection, "L4", SettingType::Text, kExampleEmail},
    {kPatchSection, "L5", SettingType::Text, ""},
    {kPatchSection, "L6", SettingType::Text, "Reward $$$"},
    {kPatchSection, "L7", SettingType::Text, "when returned!"},
};

}  // namespace

const SettingKey* SettingKeys() {
    return kSettingKeys;
}

std::size_t SettingKeyCount() {
    return std::size(kSettingKeys);
}

const char* BuiltInDefault(std::string_view section, std::string_view key) {
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.section == section && setting.key == key) {
            return setting.builtInDefault;
        }
    }
    return nullptr;
}

UserLanguage LanguageFromLocaleName(std::string_view localeName) {
    // Only the language part counts: "de_AT.UTF-8" is German like "de_DE".
    const std::string_view language = localeName.substr(0, 2);
    if (language == "de") {
        return UserLanguage::German;
    }
    if (language == "fr") {
        return UserLanguage::French;
    }
    if (language == "it") {
        return UserLanguage::Italian;
    }
    if (language == "es") {
        return UserLanguage::Spanish;
    }
    return UserLanguage::English;
}

std::string UserLocaleName() {
    // The order in which the C library itself chooses the language of its messages.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

const char* LanguageSearchText(UserLanguage language) {
    switch (language) {
        case UserLanguage::German:
            return "WARNUNG";
        case UserLanguage::French:
            return "ATTENTION";
        case UserLanguage::Italian:
            return "ATTENZIONE";
        case UserLanguage::Spanish:
            return "ATENCI\xD3N";
        case UserLanguage::English:
            break;
    }
    return "WARNING";
}

}  // namespace tavlo
