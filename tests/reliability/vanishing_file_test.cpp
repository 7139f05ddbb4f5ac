// The firmware file changes on disk between the search (Load) and Exit (Save): it is deleted,
// moved away, replaced by other bytes or by a folder, or its folder disappears. The image in
// memory is what the user confirmed; whatever stands on disk at the time of the save is either
// kept as the backup or left alone, never lost; other bytes are overwritten only when asked.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "fault_fixture.h"
#include "workflow/save_failure_message.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

class VanishingFile : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(folder);
        WriteFile(file, original);
        LoadAndPatch(image, file);
    }

    TempDir dir;
    const std::string folder = dir.File("gps");
    const std::string file = folder + "/firmware.rgn";
    const std::string backup = folder + "/firmware.bak";
    const std::string original = FirmwareBytes(32 * 1024);
    const std::string patched = PatchedBytes(original);
    FirmwareImage image;
};

TEST_F(VanishingFile, DeletedFileIsWrittenAnewAndTheOldBackupKept) {
    const std::string oldBackup = FirmwareBytes(1000, 10);
    WriteFile(backup, oldBackup);
    fs::remove(file);
    EXPECT_TRUE(image.Save(true)) << image.LastError();
    EXPECT_FALSE(image.BackupMade());  // so tavlo-cli does not print a backup it did not make
    EXPECT_EQ(ReadFile(file), patched);
    EXPECT_EQ(ReadFile(backup), oldBackup);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

TEST_F(VanishingFile, MovedFileStaysWhereItWasMoved) {
    fs::rename(file, dir.File("moved.rgn"));
    EXPECT_TRUE(image.Save(true)) << image.LastError();
    EXPECT_EQ(ReadFile(dir.File("moved.rgn")), original);
    EXPECT_EQ(ReadFile(file), patched);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(VanishingFile, FileReplacedOnDiskBecomesTheBackup) {
    // Another program wrote a different firmware under the same name meanwhile: it is kept
    // unless the save is told to overwrite it, and then it becomes the backup.
    const std::string other = FirmwareBytes(48 * 1024, 100);
    WriteFile(file + ".new", other);
    fs::rename(file + ".new", file);
    EXPECT_EQ(image.Save(true, IfFileChanged::Keep), SaveOutcome::FileChanged);
    EXPECT_EQ(ReadFile(file), other);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"firmware.rgn"});
    EXPECT_EQ(image.Save(true, IfFileChanged::Overwrite), SaveOutcome::Saved) << image.LastError();
    EXPECT_EQ(ReadFile(file), patched);
    EXPECT_EQ(ReadFile(backup), other);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

TEST_F(VanishingFile, FileReplacedByAFolderIsLeftAlone) {
    fs::remove(file);
    fs::create_directory(file);
    WriteFile(file + "/inside", "kept");
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(image.LastError(), "Could not write '" + file + "': Is a directory");
    EXPECT_EQ(ReadFile(file + "/inside"), "kept");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(VanishingFile, FolderGoneShowsOpenForWriteFailed) {
    fs::remove_all(folder);
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(SaveFailureText(image.LastFailure()), "Open for write failed\n" + image.LastError());
    EXPECT_FALSE(FileExists(folder));
    // The image still holds the patch, so the user loses nothing by trying again elsewhere.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.Data()), image.Length()), patched);
    EXPECT_TRUE(image.IsModified());
}

}  // namespace
}  // namespace tavlo::test
