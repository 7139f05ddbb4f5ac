// The bounds the settings file is held to: its size, and the magnification it may ask for.
#include <string>

#include "core/text_file.h"
#include "settings/startup_values.h"
#include "settings_test_fixture.h"

namespace tavlo::test {
namespace {

class SettingsBoundsTest : public SettingsTest {};

TEST_F(SettingsBoundsTest, AFileOfOneMebibyteIsReadAndOneByteMoreIsNot) {
    const std::string entry = "[Display]\nMagX = 5\n";
    ASSERT_TRUE(ReadText(entry + std::string(kMaxTextFileSize - entry.size(), '\n')));
    EXPECT_EQ(settings_.GetConfigInt("Display", "MagX", 2), 5);
    const std::string path = dir_.File("big.cfg");
    WriteFile(path, entry + std::string(kMaxTextFileSize + 1 - entry.size(), '\n'));
    Settings big;
    EXPECT_EQ(ReadConfigFileReporting(path, big).outcome, TextFileStatus::Outcome::Refused);
    EXPECT_TRUE(big.Entries().empty());
    EXPECT_FALSE(big.Path());
}

TEST_F(SettingsBoundsTest, MagnificationIsBroughtIntoOneToSixtyFour) {
    struct Row {
        const char* value;
        int expected;
    };
    for (const Row& row : {Row{"0", 1}, Row{"1", 1}, Row{"64", 64}, Row{"65", 64},
                           Row{"2147483647", 64}, Row{"x", kDefaultMagnification}}) {
        SCOPED_TRACE(row.value);
        settings_ = Settings();
        ASSERT_TRUE(ReadText(std::string("[Display]\nMagX = ") + row.value + "\n"));
        EXPECT_EQ(settings_.Magnification("MagX"), row.expected);
        EXPECT_EQ(settings_.Magnification("MagY"), kDefaultMagnification);
    }
}

}  // namespace
}  // namespace tavlo::test
