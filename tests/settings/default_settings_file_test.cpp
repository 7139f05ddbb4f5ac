// The default settings file the program carries inside itself.
#include <string>
#include <vector>

#include "core/embedded_resources.h"
#include "settings/settings_keys.h"
#include "settings_test_fixture.h"

namespace tavlo::test {
namespace {

std::string EmbeddedDefaultFile() {
    const auto bytes = FindResource("tavlo.cfg", "RT_TAVLO");
    if (!bytes) {
        ADD_FAILURE() << "no embedded tavlo.cfg";
        return {};
    }
    return std::string(bytes->begin(), bytes->end());
}

// The file's lines without their CR LF; fails the test on any other line end.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "line " << lines.size() + 1 << " does not end in CR LF";
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(DefaultSettingsFileTest, EmbeddedCopyIsTheResourceFile) {
    EXPECT_EQ(EmbeddedDefaultFile(), ReadFile(TAVLO_RESOURCES_DIR "/tavlo.cfg"));
    // Resource names and types are found whatever their case.
    EXPECT_TRUE(FindResource("TAVLO.CFG", "rt_tavlo").has_value());
}

TEST(DefaultSettingsFileTest, LayoutOfTheLines) {
    const std::string text = EmbeddedDefaultFile();
    const std::vector<std::string> lines = CrLfLines(text);
    ASSERT_EQ(lines.size(), 45u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_LE(lines[i].size(), 67u);
        for (char c : lines[i]) {
            // 7-bit printable text: no tab, no stray CR or LF, nothing above 127.
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << static_cast<int>(static_cast<unsigned char>(c));
        }
    }
    const auto line = [&](int number) { return lines[static_cast<std::size_t>(number - 1)]; };
    const std::string rule = "; " + std::string(65, '-');
    EXPECT_EQ(line(1), rule);
    EXPECT_EQ(line(2), ";");
    EXPECT_EQ(line(3), ";" + std::string(20, ' ') + "Tavlo default settings file");
    EXPECT_EQ(line(4), ";");
    EXPECT_EQ(line(5), rule);
    EXPECT_EQ(line(17), ";");
    for (int empty : {6, 18, 23, 27, 33, 38}) {
        EXPECT_EQ(line(empty), "") << "line " << empty;
    }
    for (int comment : {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 20, 21, 29, 30, 31, 34, 35, 36, 37}) {
        EXPECT_EQ(line(comment).substr(0, 1), ";") << "line " << comment;
    }
    EXPECT_EQ(line(19), "[Image]");
    EXPECT_EQ(line(22), "Filename = *.rgn");
    EXPECT_EQ(line(24), "[Display]");
    EXPECT_EQ(line(25), "MagX = 2");
    EXPECT_EQ(line(26), "MagY = 2");
    EXPECT_EQ(line(28), "[Patch]");
    EXPECT_EQ(line(32), "SearchString = 'WARNING'");
    EXPECT_EQ(line(39), "L1 = 'Terry N. Owner'");
    EXPECT_EQ(line(40), "L2 = ''");
    EXPECT_EQ(line(41), "L3 = '(555) 31122000'");
    EXPECT_EQ(line(42), std::string("L4 = '") + kExampleEmail + "'");
    EXPECT_EQ(line(43), "L5 = ''");
    EXPECT_EQ(line(44), "L6 = 'Reward $$$'");
    EXPECT_EQ(line(45), "L7 = 'when returned!'");
}

class DefaultSettingsReadTest : public SettingsTest {
protected:
    void SetUp() override { ASSERT_TRUE(ReadText(EmbeddedDefaultFile())); }
};

TEST_F(DefaultSettingsReadTest, ReadsBackAsTheDefaultEntries) {
    struct Expected {
        const char* section;
        const char* key;
        const char* value;
        std::int32_t line;
    };
    const Expected expected[] = {
        {"Image", "Filename", "*.rgn", 22},
        {"Display", "MagX", "2", 25},
        {"Display", "MagY", "2", 26},
        {"Patch", "SearchString", "WARNING", 32},
        {"Patch", "L1", "Terry N. Owner", 39},
        {"Patch", "L2", "", 40},
        {"Patch", "L3", "(555) 31122000", 41},
        {"Patch", "L4", kExampleEmail, 42},
        {"Patch", "L5", "", 43},
        {"Patch", "L6", "Reward $$$", 44},
        {"Patch", "L7", "when returned!", 45},
    };
    ASSERT_EQ(Entries().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].key);
        EXPECT_EQ(*Entries()[i].section, expected[i].section);
        EXPECT_EQ(Entries()[i].key, expected[i].key);
        EXPECT_EQ(Entries()[i].value, expected[i].value);
        EXPECT_EQ(Entries()[i].line, expected[i].line);
    }
}

TEST_F(DefaultSettingsReadTest, EveryValueIsTheBuiltInDefaultButTheSearchText) {
    for (const SettingsEntry& entry : Entries()) {
        SCOPED_TRACE(entry.key);
        const char* builtIn = BuiltInDefault(*entry.section, entry.key);
        if (entry.key == "SearchString") {
            EXPECT_EQ(builtIn, nullptr);
            EXPECT_EQ(entry.value, "WARNING");
        } else {
            ASSERT_NE(builtIn, nullptr);
            EXPECT_EQ(entry.value, builtIn);
        }
    }
}

TEST_F(DefaultSettingsReadTest, SearchTextStaysEnglishWhateverTheUsersLanguage) {
    for (const char* locale : {"de_DE.UTF-8", "fr_FR.UTF-8", "it_IT.UTF-8", "es_ES.UTF-8"}) {
        ScopedEnv all("LC_ALL", locale);
        const char* languageDefault = LanguageSearchText(LanguageFromLocaleName(UserLocaleName()));
        EXPECT_STRNE(languageDefault, "WARNING") << locale;
        EXPECT_STREQ(settings_.GetConfigString(kPatchSection, "SearchString", languageDefault),
                     "WARNING")
            << locale;
    }
}

TEST_F(DefaultSettingsReadTest, MagnificationReadsAsIntegers) {
    EXPECT_EQ(settings_.GetConfigInt(kDisplaySection, "MagX", 0), 2);
    EXPECT_EQ(settings_.GetConfigInt(kDisplaySection, "MagY", 0), 2);
}

}  // namespace
}  // namespace tavlo::test
