// The settings' file name reaches the file system as the settings file spells it: a UTF-8 file
// names a file in any script, though its other values keep to Windows-1252.
#include <gtest/gtest.h>

#include <string>

#include "settings_test_fixture.h"

namespace tavlo::test {
namespace {

using FilePatternTest = SettingsTest;

// "Łódź" in UTF-8, and as its Windows-1252 value shows it.
const std::string kLodz = "\xC5\x81\xC3\xB3\x64\xC5\xBA";
const std::string kLodzValue = "?\xF3\x64?";

// `text`, `count` times over.
std::string Times(int count, const std::string& text) {
    std::string repeated;
    for (int i = 0; i < count; ++i) {
        repeated += text;
    }
    return repeated;
}

TEST_F(FilePatternTest, TheFileNameIsTheFilesOwnCharacters) {
    struct Row {
        const char* rule;
        std::string file;
        std::string pattern;  // FilePattern()
        std::string value;    // the stored value
    };
    const Row rows[] = {
        {"a UTF-8 file", "[Image]\nFilename = /gps/" + kLodz + "/*.rgn\n",
         "/gps/" + kLodz + "/*.rgn", "/gps/" + kLodzValue + "/*.rgn"},
        {"a Windows-1252 file", "[Image]\nFilename = caf\xE9.rgn\n", "caf\xC3\xA9.rgn",
         "caf\xE9.rgn"},
        // Its pieces of 255 characters are longer in UTF-8: the two spellings keep in step.
        {"after a line read in pieces, in quotes",
         "[Patch]\nL1 = " + std::string(150, 'x') + Times(150, kLodz) + "\n[Image]\nFilename = '" +
             kLodz + ".rgn'\n",
         kLodz + ".rgn", kLodzValue + ".rgn"},
        {"none", "[Image]\n", "*.rgn", "<missing>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        settings_ = Settings();
        ASSERT_TRUE(ReadText(row.file));
        EXPECT_EQ(settings_.FilePattern(), row.pattern);
        if (row.value != "<missing>") {
            EXPECT_EQ(ValueOf("Image", "Filename"), row.value);
        }
    }
}

}  // namespace
}  // namespace tavlo::test
