// The backup name is taken by a folder: a save with a backup stops with a message before
// anything changes, since the old bytes would have nowhere to go; the folder and what it holds
// are left alone. A save without a backup does not need the name.
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

class BackupNameFolder : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(file, original);
        fs::create_directory(backup);
        WriteFile(backup + "/notes.txt", "mine");
    }

    // The file and the folder with its contents, as before.
    void ExpectUntouched() {
        EXPECT_EQ(ReadFile(file), original);
        EXPECT_TRUE(fs::is_directory(backup));
        EXPECT_EQ(Names(backup), std::vector<std::string>{"notes.txt"});
        EXPECT_EQ(ReadFile(backup + "/notes.txt"), "mine");
        EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
    }

    TempDir dir;
    const std::string file = dir.File("firmware.rgn");
    const std::string backup = dir.File("firmware.bak");
    const std::string original = FirmwareBytes(32 * 1024);
    FirmwareImage image;
};

TEST_F(BackupNameFolder, SaveWithBackupStopsWithAMessage) {
    LoadAndPatch(image, file);
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(SaveFailureText(image.LastFailure()),
              "Could not make the backup '" + backup + "': Is a directory");
    ExpectUntouched();
}

TEST_F(BackupNameFolder, EmptyFolderIsNotTakenForAnOldBackup) {
    fs::remove(backup + "/notes.txt");
    LoadAndPatch(image, file);
    EXPECT_FALSE(image.Save(true));
    EXPECT_NE(image.LastError().find("Is a directory"), std::string::npos) << image.LastError();
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_TRUE(fs::is_directory(backup));
    EXPECT_TRUE(fs::is_empty(backup));
}

TEST_F(BackupNameFolder, SaveWithoutBackupSucceeds) {
    LoadAndPatch(image, file);
    EXPECT_TRUE(image.Save(false)) << image.LastError();
    EXPECT_EQ(ReadFile(file), PatchedBytes(original));
    EXPECT_EQ(ReadFile(backup + "/notes.txt"), "mine");
}

TEST_F(BackupNameFolder, CliSaysWhyAndExitsWithAFileError) {
    const ProcessResult result = RunCli({"patch", file, "--search", "WARNING", "--text", "x"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Could not make the backup '" + backup + "': Is a directory"),
              std::string::npos)
        << result.err;
    ExpectUntouched();
}

TEST_F(BackupNameFolder, CliWithoutBackupPatches) {
    const ProcessResult result =
        RunCli({"patch", file, "--search", "WARNING", "--text", "x", "--no-backup"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadFile(file), PatchedBytes(original, "x"));
    EXPECT_EQ(Names(backup), std::vector<std::string>{"notes.txt"});
}

}  // namespace
}  // namespace tavlo::test
