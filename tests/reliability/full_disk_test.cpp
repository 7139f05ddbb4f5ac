// Saving onto a file system that has no room for the new contents: the save fails with a message
// that names the file and the cause, and the file, its backup and the folder stay as they were.
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

// 600 KiB: one copy fits on the 1 MiB file system, a second one does not.
constexpr std::size_t kImageSize = 600 * 1024;
constexpr std::size_t kDiskSize = 1024 * 1024;

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (!disk.Mounted()) {
            GTEST_SKIP() << "cannot mount a small file system here (needs the administrator)";
        }
        WriteFile(file, original);
    }

    TempDir dir;
    MountedFolder disk{dir, "disk", kDiskSize};
    const std::string file = disk.File("firmware.rgn");
    const std::string backup = disk.File("firmware.bak");
    const std::string original = FirmwareBytes(kImageSize);
    FirmwareImage image;
};

TEST_F(FullDisk, NoRoomForTheNewContentsKeepsTheFile) {
    LoadAndPatch(image, file);
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(SaveFailureText(image.LastFailure()),
              "Could not write '" + file + "': No space left on device");
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(Names(disk.Path()), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(FullDisk, NotOneByteFreeKeepsTheFileAndTheOldBackup) {
    const std::string oldBackup = FirmwareBytes(1000, 10);
    WriteFile(backup, oldBackup);
    LoadAndPatch(image, file);
    disk.Fill("filler");
    EXPECT_FALSE(image.Save(true));
    EXPECT_NE(image.LastError().find("No space left on device"), std::string::npos);
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(ReadFile(backup), oldBackup);
    EXPECT_EQ(Names(disk.Path()),
              (std::vector<std::string>{"filler", "firmware.bak", "firmware.rgn"}));
}

TEST_F(FullDisk, SaveWithoutBackupKeepsTheFileToo) {
    LoadAndPatch(image, file);
    EXPECT_FALSE(image.Save(false));
    EXPECT_NE(image.LastError().find("No space left on device"), std::string::npos);
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(Names(disk.Path()), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(FullDisk, SaveSucceedsOnceThereIsRoomAgain) {
    // A file small enough that two copies fit once the filler is gone.
    const std::string small = FirmwareBytes(kImageSize / 2);
    WriteFile(file, small);
    disk.Fill("filler");
    LoadAndPatch(image, file);
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(ReadFile(file), small);
    fs::remove(disk.File("filler"));
    EXPECT_TRUE(image.Save(true)) << image.LastError();
    EXPECT_EQ(ReadFile(file), PatchedBytes(small));
    EXPECT_EQ(ReadFile(backup), small);
    EXPECT_EQ(Names(disk.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

TEST_F(FullDisk, CliSaysWhyAndExitsWithAFileError) {
    const ProcessResult result = RunCli({"patch", file, "--search", "WARNING", "--text", "x"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Could not write '" + file + "': No space left on device"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(Names(disk.Path()), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(FullDisk, CliPreviewLeavesNoTruncatedPicture) {
    const std::string picture = disk.File("preview.png");
    WriteFile(picture, "the older picture");
    disk.Fill("filler");
    const ProcessResult result = RunCli({"preview", file, "--out", picture});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("No space left on device"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(picture), "the older picture");
    EXPECT_TRUE(TemporaryNames(disk.Path()).empty());
}

}  // namespace
}  // namespace tavlo::test
