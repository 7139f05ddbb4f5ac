#include <gtest/gtest.h>

#include <string>

#include "support/cli_test_support.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

const char* const kDefaultOwnerLines =
    "Patch/L1=Terry N. Owner\n"
    "Patch/L2=\n"
    "Patch/L3=(555) 31122000\n"
    "Patch/L4=t@example.org\n"
    "Patch/L5=\n"
    "Patch/L6=Reward $$$\n"
    "Patch/L7=when returned!\n";

TEST(CliSettings, WithoutASettingsFileTheBuiltInValuesAndTheLanguageApply) {
#ifdef _WIN32
    GTEST_SKIP() << "the per-user settings file lies in Linux's configuration folders here";
#endif
    TempDir dir;
    const std::string cli = CopyCliInto(dir);
    const ProcessResult r = RunProcess(cli, {"settings"}, {"LC_ALL=", "LC_MESSAGES=de_AT.UTF-8"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The copy's folder is the user's own: Edit settings would create the file beside it.
    EXPECT_EQ(r.out,
              "file: none\n"
              "create: " +
                  dir.File("tavlo.cfg") +
                  "\n"
                  "Image/Filename=*.rgn\n"
                  "Patch/SearchString=WARNUNG\n"
                  "Display/MagX=2\n"
                  "Display/MagY=2\n"s +
                  kDefaultOwnerLines);
}

TEST(CliSettings, SpanishSearchTextIsPrintedInUtf8) {
    TempDir dir;
    const std::string cli = CopyCliInto(dir);
    const ProcessResult r = RunProcess(cli, {"settings"}, {"LC_ALL=es_ES.UTF-8"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Patch/SearchString=ATENCI\xC3\x93N\n"), std::string::npos) << r.out;
}

TEST(CliSettings, ReadsTheDesktopProgramsSettingsFileWhateverTheCaseOfItsName) {
    TempDir dir;
    const std::string cli = CopyCliInto(dir);
    WriteFile(dir.File("tavlo.cfg"),
              SettingsText({"[Image]", "Filename = /gps/unit.rgn", "[Display]", "MagX = 3 ; x",
                            "[Patch]", "SearchString = 'ATTENTION'", "L1 = '  Jo\t\xE9  '",
                            "L8 = eight", "L10 = ten"}));
    const ProcessResult r = RunProcess(cli, {"settings"}, {"LANG=de_DE.UTF-8"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "file: " + dir.File("tavlo.cfg") +
                         "\n"
                         "Image/Filename=/gps/unit.rgn\n"
                         "Patch/SearchString=ATTENTION\n"
                         "Display/MagX=3\n"
                         "Display/MagY=2\n"
                         "Patch/L1=  Jo\\t\xC3\xA9  \n"
                         "Patch/L2=\n"
                         "Patch/L3=(555) 31122000\n"
                         "Patch/L4=t@example.org\n"
                         "Patch/L5=\n"
                         "Patch/L6=Reward $$$\n"
                         "Patch/L7=when returned!\n"
                         "Patch/L8=eight\n");
}

TEST(CliSettings, WithoutAFileBesideTheProgramTheUsersOwnIsRead) {
#ifdef _WIN32
    GTEST_SKIP() << "the per-user settings file lies in Linux's configuration folders here";
#endif
    TempDir dir;
    const std::string cli = CopyCliInto(dir);
    const std::string config = dir.File("config\xC3\xA9");  // a UTF-8 name, printed as it is
    std::filesystem::create_directories(config + "/tavlo");
    WriteFile(config + "/tavlo/tavlo.cfg", SettingsText({"[Display]", "MagY = 5"}));
    const ProcessResult r = RunProcess(cli, {"settings"}, {"XDG_CONFIG_HOME=" + config});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("Image/")), "file: " + config + "/tavlo/tavlo.cfg\n");
    EXPECT_NE(r.out.find("Display/MagY=5\n"), std::string::npos) << r.out;
}

TEST(CliSettings, GetPrintsOnlyTheStoredValue) {
    TempDir dir;
    const std::string settings = dir.File("s.cfg");
    WriteFile(settings, SettingsText({"[Patch]", "L2 =", "SearchString = 'A B' ; c"}));
    ProcessResult r = RunCli({"settings", "--settings", settings, "--get", "Patch", "L2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "\n");
    r = RunCli({"settings", "--get", "Patch", "SearchString", "--settings", settings});
    EXPECT_EQ(r.out, "'A B' ; c\n");
    // A key with a built-in default but no entry is not stored: nothing printed, exit 1.
    r = RunCli({"settings", "--settings", settings, "--get", "Patch", "L1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    r = RunCli({"settings", "--settings", settings, "--get", "patch", "L2"});
    EXPECT_EQ(r.exitCode, 1);
}

TEST(CliSettings, AnUnreadableSettingsFileGivenOnTheCommandLineIsAnError) {
    TempDir dir;
    const ProcessResult r = RunCli({"settings", "--settings", dir.File("missing.cfg")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("missing.cfg"), std::string::npos);
}

TEST(CliSettings, TheFileNameIsShownAsItIsSpelled) {
    TempDir dir;
    const std::string settings = dir.File("caf\xC3\xA9.cfg");  // UTF-8, as the system spells it
    WriteFile(settings, "");
    const ProcessResult r = RunCli({"settings", "--settings", settings});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "file: " + settings);
}

TEST(CliSettings, TheSettingsSearchTextIsWhatFindUses) {
    TempDir dir;
    const std::string firmware = dir.File("f.rgn");
    WriteFile(firmware, "\0ATTENZIONE x\0WARNING y\0\0"s);
    const std::string settings = dir.File("s.cfg");
    WriteFile(settings, SettingsText({"[Patch]", "SearchString = ATTENZIONE"}));
    const ProcessResult r = RunCli({"find", firmware, "--settings", settings});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1\t12\tATTENZIONE x\n");
}

}  // namespace
}  // namespace tavlo::test
