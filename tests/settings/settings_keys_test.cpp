// The settings vocabulary: keys, built-in defaults and the language-bound search text.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "settings/settings_keys.h"
#include "support/test_files.h"

namespace tavlo::test {
namespace {

TEST(SettingsKeysTest, TableHoldsEveryKeyWithItsTypeAndDefault) {
    struct Expected {
        const char* section;
        const char* key;
        SettingType type;
        const char* builtInDefault;
    };
    const Expected expected[] = {
        {"Image", "Filename", SettingType::Text, "*.rgn"},
        {"Patch", "SearchString", SettingType::Text, nullptr},
        {"Display", "MagX", SettingType::Integer, "2"},
        {"Display", "MagY", SettingType::Integer, "2"},
        {"Patch", "L1", SettingType::Text, "Terry N. Owner"},
        {"Patch", "L2", SettingType::Text, ""},
        {"Patch", "L3", SettingType::Text, "(555) 31122000"},
        {"Patch", "L4", SettingType::Text, "t@example.org"},
        {"Patch", "L5", SettingType::Text, ""},
        {"Patch", "L6", SettingType::Text, "Reward $$$"},
        {"Patch", "L7", SettingType::Text, "when returned!"},
    };
    ASSERT_EQ(SettingKeyCount(), std::size(expected));
    for (const Expected& want : expected) {
        SCOPED_TRACE(std::string(want.section) + "/" + want.key);
        const SettingKey* found = nullptr;
        for (std::size_t i = 0; i < SettingKeyCount(); ++i) {
            const SettingKey& key = SettingKeys()[i];
            if (std::strcmp(key.section, want.section) == 0 &&
                std::strcmp(key.key, want.key) == 0) {
                found = &key;
            }
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->type, want.type);
        if (want.builtInDefault == nullptr) {
            EXPECT_EQ(found->builtInDefault, nullptr);
            EXPECT_EQ(BuiltInDefault(want.section, want.key), nullptr);
        } else {
            ASSERT_NE(found->builtInDefault, nullptr);
            EXPECT_STREQ(found->builtInDefault, want.builtInDefault);
            EXPECT_STREQ(BuiltInDefault(want.section, want.key), want.builtInDefault);
        }
    }
}

TEST(SettingsKeysTest, KeysOutsideTheTableHaveNoDefault) {
    EXPECT_EQ(BuiltInDefault("Patch", "L8"), nullptr);
    EXPECT_EQ(BuiltInDefault("Patch", "L0"), nullptr);
    EXPECT_EQ(BuiltInDefault("image", "Filename"), nullptr);
    EXPECT_EQ(BuiltInDefault("Display", "magx"), nullptr);
    EXPECT_EQ(BuiltInDefault("Image", "MagX"), nullptr);
    EXPECT_EQ(BuiltInDefault("", ""), nullptr);
}

TEST(SettingsKeysTest, ExampleEmailIsThirteenCharacters) {
    EXPECT_EQ(std::strlen(kExampleEmail), 13u);
}

TEST(SettingsKeysTest, LanguageComesFromTheFirstTwoLetters) {
    EXPECT_EQ(LanguageFromLocaleName("de_DE.UTF-8"), UserLanguage::German);
    EXPECT_EQ(LanguageFromLocaleName("de_AT"), UserLanguage::German);
    EXPECT_EQ(LanguageFromLocaleName("deutsch"), UserLanguage::German);
    EXPECT_EQ(LanguageFromLocaleName("de"), UserLanguage::German);
    EXPECT_EQ(LanguageFromLocaleName("fr_CA.UTF-8"), UserLanguage::French);
    EXPECT_EQ(LanguageFromLocaleName("it_IT@euro"), UserLanguage::Italian);
    EXPECT_EQ(LanguageFromLocaleName("es_MX"), UserLanguage::Spanish);
    for (const char* other : {"en_US.UTF-8", "C", "POSIX", "", "d", "pt_BR", "nl_NL", "C.UTF-8"}) {
        EXPECT_EQ(LanguageFromLocaleName(other), UserLanguage::English) << other;
    }
}

TEST(SettingsKeysTest, SearchTextOfEachLanguage) {
    EXPECT_STREQ(LanguageSearchText(UserLanguage::English), "WARNING");
    EXPECT_STREQ(LanguageSearchText(UserLanguage::German), "WARNUNG");
    EXPECT_STREQ(LanguageSearchText(UserLanguage::French), "ATTENTION");
    EXPECT_STREQ(LanguageSearchText(UserLanguage::Italian), "ATTENZIONE");
    // Windows-1252: the O with acute accent is the one byte 0xD3.
    const std::string spanish = LanguageSearchText(UserLanguage::Spanish);
    EXPECT_EQ(spanish, std::string("ATENCI") + '\xD3' + "N");
    EXPECT_EQ(spanish.size(), 8u);
}

TEST(SettingsKeysTest, SearchWordsAreTheLanguagesWordsInByteOrder) {
    std::set<std::string> languageWords;
    for (UserLanguage language : {UserLanguage::English, UserLanguage::German, UserLanguage::French,
                                  UserLanguage::Italian, UserLanguage::Spanish}) {
        languageWords.insert(LanguageSearchText(language));
    }
    const std::set<std::string> listed(std::begin(kSearchWords), std::end(kSearchWords));
    EXPECT_EQ(listed, languageWords);
    for (std::size_t i = 1; i < std::size(kSearchWords); ++i) {
        EXPECT_LT(std::string(kSearchWords[i - 1]), std::string(kSearchWords[i]));
    }
}

TEST(UserLocaleNameTest, FirstSetAndNonEmptyVariableCounts) {
    {
        ScopedEnv all("LC_ALL", "fr_FR.UTF-8");
        ScopedEnv messages("LC_MESSAGES", "it_IT.UTF-8");
        ScopedEnv lang("LANG", "de_DE.UTF-8");
        EXPECT_EQ(UserLocaleName(), "fr_FR.UTF-8");
    }
    {
        ScopedEnv all("LC_ALL", "");
        ScopedEnv messages("LC_MESSAGES", "it_IT.UTF-8");
        ScopedEnv lang("LANG", "de_DE.UTF-8");
        EXPECT_EQ(UserLocaleName(), "it_IT.UTF-8");
    }
    {
        ScopedEnv all("LC_ALL", nullptr);
        ScopedEnv messages("LC_MESSAGES", "");
        ScopedEnv lang("LANG", "de_DE.UTF-8");
        EXPECT_EQ(UserLocaleName(), "de_DE.UTF-8");
    }
    {
        ScopedEnv all("LC_ALL", nullptr);
        ScopedEnv messages("LC_MESSAGES", nullptr);
        ScopedEnv lang("LANG", nullptr);
        EXPECT_EQ(UserLocaleName(), "");
        EXPECT_EQ(LanguageFromLocaleName(UserLocaleName()), UserLanguage::English);
    }
}

TEST(UserLocaleNameTest, SpanishEnvironmentGivesTheSpanishSearchText) {
    ScopedEnv all("LC_ALL", nullptr);
    ScopedEnv messages("LC_MESSAGES", nullptr);
    ScopedEnv lang("LANG", "es_ES.UTF-8");
    EXPECT_STREQ(LanguageSearchText(LanguageFromLocaleName(UserLocaleName())), "ATENCI\xD3N");
}

}  // namespace
}  // namespace tavlo::test
