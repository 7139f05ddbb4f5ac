// Settings files of the kinds the settings fuzzer's corpus is made of, reduced to readable
// cases: pieces of 255 bytes that cut a header, zero bytes and carriage returns inside lines,
// values made of quotes, numbers beyond 32 bits, bytes above 127, lone brackets. Each is read
// from a real file by the reader and by the real tavlo-cli.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "support/cli_test_support.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

struct Lookup {
    std::string section;
    std::string key;
    std::optional<std::string> value;  // none: no entry
    std::int32_t line;                 // of the entry found
};

class SettingsFuzzCases : public ::testing::Test {
protected:
    // Reads `bytes` from a file and checks every lookup; returns the file's path.
    std::string ReadAndCheck(const std::string& bytes, const std::vector<Lookup>& lookups) {
        const std::string path = dir.File("tavlo.cfg");
        WriteFile(path, bytes);
        settings = Settings();
        EXPECT_TRUE(ReadConfigFile(path, settings));
        for (const Lookup& lookup : lookups) {
            SCOPED_TRACE("[" + lookup.section + "] " + lookup.key);
            const SettingsEntry* entry = settings.FindConfigEntry(lookup.section, lookup.key);
            if (!lookup.value) {
                EXPECT_EQ(entry, nullptr);
                continue;
            }
            EXPECT_NE(entry, nullptr);
            if (entry != nullptr) {
                EXPECT_EQ(entry->value, *lookup.value);
                EXPECT_EQ(entry->line, lookup.line);
            }
        }
        return path;
    }

    // The start-up values tavlo-cli shows for the settings file.
    std::string CliSettings(const std::string& path) {
        const ProcessResult result = RunCli({"settings", "--settings", path});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out;
    }

    TempDir dir;
    Settings settings;
};

TEST_F(SettingsFuzzCases, PieceBoundaryCutsAHeader) {
    // 256 characters before the line feed: the first piece "[aaa..." lacks its "]".
    const std::string header = "[" + std::string(254, 'a') + "]";
    const std::string path =
        ReadAndCheck(header + "\r\nMagX = 5\r\n", {{"", "", "[" + std::string(254, 'a'), 1},
                                                   {"", "MagX", "5", 3},
                                                   {"Display", "MagX", std::nullopt, 0}});
    EXPECT_EQ(settings.Entries().size(), 3u);
    EXPECT_EQ(settings.Entries()[1].value, "]");
    EXPECT_NE(CliSettings(path).find("Display/MagX=2\n"), std::string::npos);
}

TEST_F(SettingsFuzzCases, HeaderOf255CharactersFillsOnePiece) {
    const std::string name(253, 'b');
    ReadAndCheck("[" + name + "]\n[Display]\nMagX=4\n", {{"Display", "MagX", "4", 4}});
    EXPECT_EQ(settings.GetConfigInt("Display", "MagX", 2), 4);
}

TEST_F(SettingsFuzzCases, ZeroByteEndsTheTextOfItsLine) {
    const std::string path = ReadAndCheck("[Display]\nMag\0X = 9\nMagY = 3\0 ; 7\n"s,
                                          {{"Display", "", "Mag", 2},
                                           {"Display", "MagX", std::nullopt, 0},
                                           {"Display", "MagY", "3", 3}});
    const std::string shown = CliSettings(path);
    EXPECT_NE(shown.find("Display/MagX=2\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Display/MagY=3\n"), std::string::npos) << shown;
}

TEST_F(SettingsFuzzCases, CarriageReturnAloneDoesNotEndALine) {
    ReadAndCheck("[Patch]\rL1 = x\n",
                 {{"", "[Patch]\rL1", "x", 1}, {"Patch", "L1", std::nullopt, 0}});
}

TEST_F(SettingsFuzzCases, ValuesMadeOfQuotes) {
    const std::string path =
        ReadAndCheck("[Patch]\nL1 = '''\nL2 = ''''\nL3 = '\nL4 = ''\n", {{"Patch", "L1", "'", 2},
                                                                         {"Patch", "L2", "''", 3},
                                                                         {"Patch", "L3", "'", 4},
                                                                         {"Patch", "L4", "", 5}});
    const std::string shown = CliSettings(path);
    EXPECT_NE(shown.find("Patch/L2=''\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Patch/L4=\n"), std::string::npos) << shown;
}

TEST_F(SettingsFuzzCases, NumbersBeyond32BitsStopAtTheLargest) {
    const std::string path =
        ReadAndCheck("[Display]\nMagX = 99999999999999999999x\nMagY = 2147483648\n", {});
    EXPECT_EQ(settings.GetConfigInt("Display", "MagX", 2), 2147483647);
    EXPECT_EQ(settings.GetConfigInt("Display", "MagY", 2), 2147483647);
    // The preview's magnification stops at 64 (see Settings::Magnification).
    const std::string shown = CliSettings(path);
    EXPECT_NE(shown.find("Display/MagX=64\n"), std::string::npos) << shown;
}

TEST_F(SettingsFuzzCases, BytesAbove127AreNoWhiteSpace) {
    // 0xA0 is the no-break space of Windows-1252 and 0x85 an ellipsis: both are text.
    ReadAndCheck("[\xA0Patch]\n\xA0=\xA0\n[Patch]\nL1 = \x85x\x85\n",
                 {{"\xA0Patch", "\xA0", "\xA0", 2}, {"Patch", "L1", "\x85x\x85", 4}});
}

TEST_F(SettingsFuzzCases, LoneBrackets) {
    ReadAndCheck("[]\nx=1\n[\n]\n[]]\ny=2\n[a]b]\nz=3\n",
                 {{"", "x", "1", 2}, {"", "", "[", 3}, {"]", "y", "2", 6}, {"a]b", "z", "3", 8}});
}

}  // namespace
}  // namespace tavlo::test
