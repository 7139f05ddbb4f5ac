// Where the settings file is looked for: beside the program, named after it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/settings_file.h"
#include "support/test_files.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

TEST(ConfigFileNameTest, ExtensionOfTheProgramIsReplaced) {
    EXPECT_EQ(GetConfigFileName("/opt/apps/tavlo.exe"), "/opt/apps/tavlo.cfg");
    EXPECT_EQ(GetConfigFileName("/opt/apps/tavlo.tar.gz"), "/opt/apps/tavlo.tar.cfg");
    EXPECT_EQ(GetConfigFileName("/opt/apps/tavlo."), "/opt/apps/tavlo.cfg");
    EXPECT_EQ(GetConfigFileName("./tavlo"), "./tavlo.cfg");
    EXPECT_EQ(GetConfigFileName("bin/tavlo"), "bin/tavlo.cfg");
}

TEST(ConfigFileNameTest, DotInAFolderNameIsNoExtension) {
    EXPECT_EQ(GetConfigFileName("/home/u/.local/bin/tavlo"), "/home/u/.local/bin/tavlo.cfg");
    EXPECT_EQ(GetConfigFileName("fw.old/tavlo"), "fw.old/tavlo.cfg");
}

TEST(ConfigFileNameTest, LeadingDotOfTheProgramNameIsNoExtension) {
    EXPECT_EQ(GetConfigFileName("/x/.tavlo"), "/x/.tavlo.cfg");
    EXPECT_EQ(GetConfigFileName("/x/.tavlo.bin"), "/x/.tavlo.cfg");
}

#ifndef _WIN32  // /proc/self/exe is Linux's
TEST(ConfigFileNameTest, ProgramWithoutFolderIsFoundThroughItsRunningFile) {
    const fs::path executable = fs::read_symlink("/proc/self/exe");
    ASSERT_TRUE(executable.is_absolute());
    ASSERT_FALSE(executable.filename().has_extension()) << "the test expects a plain name";
    EXPECT_EQ(GetConfigFileName("tavlo"), executable.string() + ".cfg");
    EXPECT_EQ(GetConfigFileName(""), executable.string() + ".cfg");
}
#endif

#ifndef _WIN32  // /proc/self/exe is Linux's
TEST(ConfigFileNameTest, ProgramWithoutFolderReadsTheSettingsBesideItsRunningFile) {
    const std::string settings = fs::read_symlink("/proc/self/exe").string() + ".cfg";
    ASSERT_FALSE(FileExists(settings)) << settings << " is left over";
    WriteFile(settings, "[Display]\nMagY = 6\n");
    const Settings loaded = LoadConfig("settings_tests");
    fs::remove(settings);
    EXPECT_EQ(loaded.Path(), settings);
    EXPECT_EQ(loaded.GetConfigInt("Display", "MagY", 2), 6);
}
#endif

TEST(ConfigFileNameTest, PathsLongerThan260CharactersWork) {
    TempDir dir;
    fs::path folder = dir.Path();
    for (int i = 0; i < 8; ++i) {
        folder /= std::string(40, static_cast<char>('a' + i));
    }
    fs::create_directories(folder);
    const std::string program = (folder / "tavlo").string();
    ASSERT_GT(program.size(), 330u);
    WriteFile((folder / "tavlo.cfg").string(), "[Patch]\nL1 = deep\n");
    const Settings loaded = LoadConfig(program);
    EXPECT_EQ(loaded.Path(), program + ".cfg");
    EXPECT_STREQ(loaded.GetConfigString("Patch", "L1", nullptr), "deep");
}

// --- Letter case of the settings file's name ---------------------------------------------------

class ConfigFileNameCaseTest : public ::testing::Test {
protected:
    std::string Program() const { return dir_.File("tavlo"); }
    TempDir dir_;
};

TEST_F(ConfigFileNameCaseTest, MissingFileKeepsTheDerivedName) {
    WriteFile(dir_.File("tavlo.CFG.bak"), "");
    WriteFile(dir_.File("tavlo.cf"), "");
    EXPECT_EQ(GetConfigFileName(Program()), dir_.File("tavlo.cfg"));
}

TEST_F(ConfigFileNameCaseTest, FileInOtherLetterCaseIsFound) {
    WriteFile(dir_.File("tavlo.CFG"), "[Display]\nMagX = 3\n");
    EXPECT_EQ(GetConfigFileName(Program()), dir_.File("tavlo.CFG"));
    EXPECT_EQ(GetConfigFileName(dir_.File("TAVLO.exe")), dir_.File("tavlo.CFG"));
    const Settings loaded = LoadConfig(Program());
    EXPECT_EQ(loaded.Path(), dir_.File("tavlo.CFG"));
    EXPECT_EQ(loaded.GetConfigInt("Display", "MagX", 2), 3);
}

#ifndef _WIN32  // two spellings of one name need a case-sensitive file system
TEST_F(ConfigFileNameCaseTest, ExactNameWinsOverOtherLetterCases) {
    WriteFile(dir_.File("Tavlo.Cfg"), "");
    WriteFile(dir_.File("tavlo.cfg"), "");
    WriteFile(dir_.File("tavlo.CFG"), "");
    EXPECT_EQ(GetConfigFileName(Program()), dir_.File("tavlo.cfg"));
}
#endif

#ifndef _WIN32  // two spellings of one name need a case-sensitive file system
TEST_F(ConfigFileNameCaseTest, FirstNameInByteOrderWinsAmongOtherLetterCases) {
    WriteFile(dir_.File("tavlo.CFG"), "");
    WriteFile(dir_.File("Tavlo.Cfg"), "");
    WriteFile(dir_.File("tAVLO.cfg"), "");
    EXPECT_EQ(GetConfigFileName(Program()), dir_.File("Tavlo.Cfg"));
}
#endif

#ifndef _WIN32  // two spellings of one name need a case-sensitive file system
TEST_F(ConfigFileNameCaseTest, FolderOfThatNameIsNoSettingsFile) {
    fs::create_directory(dir_.File("TAVLO.cfg"));
    WriteFile(dir_.File("tavlo.Cfg"), "");
    EXPECT_EQ(GetConfigFileName(Program()), dir_.File("tavlo.Cfg"));
    fs::remove(dir_.File("tavlo.Cfg"));
    EXPECT_EQ(GetConfigFileName(Program()), dir_.File("tavlo.cfg"));
}
#endif

TEST_F(ConfigFileNameCaseTest, MissingFolderKeepsTheDerivedName) {
    const std::string program = dir_.File("nowhere/tavlo");
    EXPECT_EQ(GetConfigFileName(program), dir_.File("nowhere/tavlo.cfg"));
}

}  // namespace
}  // namespace tavlo::test
