// Saving into a folder that cannot be written: "Open for write failed", and the file and its
// backup stay as they were. The administrator ignores permission bits, so a file system mounted
// read-only stands in for the read-only folder when the tests run as the administrator; an
// ordinary user gets a folder without write permission.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "fault_fixture.h"
#include "support/cli_test_support.h"
#include "workflow/save_failure_message.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

class ReadOnlyFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() == 0) {
            disk = std::make_unique<MountedFolder>(dir, "disk", 1024 * 1024);
            if (!disk->Mounted()) {
                GTEST_SKIP() << "the administrator cannot mount a file system here";
            }
            folder = disk->Path();
        } else {
            folder = dir.File("disk");
            fs::create_directory(folder);
        }
        file = folder + "/firmware.rgn";
        backup = folder + "/firmware.bak";
        WriteFile(file, original);
        WriteFile(backup, oldBackup);
        LoadAndPatch(image, file);
        if (disk) {
            ASSERT_TRUE(disk->SetReadOnly(true));
        } else {
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        }
    }

    void TearDown() override {
        if (disk) {
            disk->SetReadOnly(false);
        } else if (!folder.empty()) {
            fs::permissions(folder, fs::perms::owner_all);
        }
    }

    // The folder still holds exactly the file and the old backup, unchanged.
    void ExpectUntouched() {
        EXPECT_EQ(ReadFile(file), original);
        EXPECT_EQ(ReadFile(backup), oldBackup);
        EXPECT_EQ(Names(folder), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
    }

    TempDir dir;
    std::unique_ptr<MountedFolder> disk;
    std::string folder;
    std::string file;
    std::string backup;
    const std::string original = FirmwareBytes(64 * 1024);
    const std::string oldBackup = FirmwareBytes(1000, 10);
    FirmwareImage image;
};

TEST_F(ReadOnlyFolder, SaveWithBackupShowsOpenForWriteFailed) {
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(SaveFailureText(image.LastFailure()), "Open for write failed\n" + image.LastError());
    // The cause is kept for whoever wants to say more.
    EXPECT_NE(image.LastError().find(disk ? "Read-only file system" : "Permission denied"),
              std::string::npos)
        << image.LastError();
    ExpectUntouched();
}

TEST_F(ReadOnlyFolder, SaveWithoutBackupShowsOpenForWriteFailed) {
    EXPECT_FALSE(image.Save(false));
    EXPECT_EQ(SaveFailureText(image.LastFailure()), "Open for write failed\n" + image.LastError());
    ExpectUntouched();
}

TEST_F(ReadOnlyFolder, SaveSucceedsOnceTheFolderIsWritableAgain) {
    EXPECT_FALSE(image.Save(true));
    TearDown();
    EXPECT_TRUE(image.Save(true)) << image.LastError();
    EXPECT_EQ(ReadFile(file), PatchedBytes(original));
    EXPECT_EQ(ReadFile(backup), original);
}

TEST_F(ReadOnlyFolder, CliSaysWhyAndExitsWithAFileError) {
    const ProcessResult result = RunCli({"patch", file, "--search", "WARNING", "--text", "x"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Open for write failed"), std::string::npos) << result.err;
    ExpectUntouched();
}

}  // namespace
}  // namespace tavlo::test
