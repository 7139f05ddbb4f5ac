// The firmware file is named through a symbolic link: the link stays a link, the file it points
// to gets the new bytes, and the backup is named after the name the user gave. Links that lead
// nowhere useful stop the save with a message and change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "fault_fixture.h"
#include "support/cli_test_support.h"
#include "workflow/save_failure_message.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

class SymbolicLink : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir.Path() / "store");
        WriteFile(target, original);
        fs::create_symlink("store/real.rgn", link);
    }

    TempDir dir;
    const std::string target = dir.File("store/real.rgn");
    const std::string link = dir.File("firmware.rgn");
    const std::string original = FirmwareBytes(32 * 1024);
    FirmwareImage image;
};

TEST_F(SymbolicLink, SaveReplacesTheFileTheLinkNames) {
    LoadAndPatch(image, link);
    EXPECT_TRUE(image.Save(true)) << image.LastError();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "store/real.rgn");
    EXPECT_EQ(ReadFile(target), PatchedBytes(original));
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), original);
    EXPECT_EQ(Names(dir.Path()),
              (std::vector<std::string>{"firmware.bak", "firmware.rgn", "store"}));
    EXPECT_EQ(Names(dir.Path() / "store"), std::vector<std::string>{"real.rgn"});
}

TEST_F(SymbolicLink, CliPatchesThroughTheLink) {
    const ProcessResult result = RunCli({"patch", link, "--search", "WARNING", "--text", "x"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), PatchedBytes(original, "x"));
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), original);
    EXPECT_TRUE(TemporaryNames(dir.Path()).empty());
    EXPECT_TRUE(TemporaryNames(dir.Path() / "store").empty());
}

TEST_F(SymbolicLink, LinkLoopStopsTheSaveWithAMessage) {
    LoadAndPatch(image, link);
    fs::remove(link);
    fs::create_symlink("loop.rgn", link);
    fs::create_symlink("firmware.rgn", dir.File("loop.rgn"));
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(image.LastError(),
              "Could not write '" + link + "': Too many levels of symbolic links");
    EXPECT_EQ(ReadFile(target), original);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.rgn", "loop.rgn", "store"}));
}

TEST_F(SymbolicLink, CliRefusesALinkLoop) {
    fs::remove(link);
    fs::create_symlink("loop.rgn", link);
    fs::create_symlink("firmware.rgn", dir.File("loop.rgn"));
    const ProcessResult result = RunCli({"patch", link, "--search", "WARNING", "--text", "x"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Too many levels of symbolic links"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(target), original);
}

TEST_F(SymbolicLink, LinkToAFolderIsNoFirmwareFile) {
    fs::remove(link);
    fs::create_directory_symlink("store", link);
    EXPECT_FALSE(image.Load(link));
    const ProcessResult result = RunCli({"patch", link, "--search", "WARNING", "--text", "x"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Is a directory"), std::string::npos) << result.err;
    EXPECT_EQ(Names(dir.Path() / "store"), std::vector<std::string>{"real.rgn"});
}

TEST_F(SymbolicLink, LinkIntoAReadOnlyFileSystemKeepsTheFile) {
    MountedFolder disk(dir, "disk", 1024 * 1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a small file system here (needs the administrator)";
    }
    WriteFile(disk.File("real.rgn"), original);
    fs::remove(link);
    fs::create_symlink(disk.File("real.rgn"), link);
    LoadAndPatch(image, link);
    ASSERT_TRUE(disk.SetReadOnly(true));
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(SaveFailureText(image.LastFailure()), "Open for write failed\n" + image.LastError());
    EXPECT_NE(image.LastError().find("Read-only file system"), std::string::npos);
    EXPECT_EQ(ReadFile(disk.File("real.rgn")), original);
    EXPECT_EQ(Names(disk.Path()), std::vector<std::string>{"real.rgn"});
    EXPECT_FALSE(FileExists(dir.File("firmware.bak")));
    disk.SetReadOnly(false);
}

}  // namespace
}  // namespace tavlo::test
