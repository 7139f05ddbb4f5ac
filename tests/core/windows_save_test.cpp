#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/firmware_image.h"
#include "support/test_files.h"

// The Windows save against the faults of a real file system (run under Wine): whatever goes
// wrong, the file and its old backup keep their bytes, and no temporary file is left behind.
namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

const std::string kOld = std::string("head WARNING: the old message", 30) + std::string(1, '\0');
const std::string kOldBackup = "the backup before this save";

struct Row {
    const char* rule;
    const char* fileName;
    std::function<void(const TempDir&, const std::string& file, const std::string& backup)> fault;
    SaveOutcome outcome;
    bool fileIsNew;
    const char* messagePart;  // in the message shown, when the save failed
    bool holdOpen = false;    // another program holds the file open, sharing it for everything
};

// What another program does that holds a file open: a sync client, a virus scanner.
HANDLE HoldOpen(const std::string& file) {
    return CreateFileW(PathOf(file).c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

const Row kRows[] = {
    {"a plain save makes the old bytes the backup", "plain.rgn", nullptr, SaveOutcome::Saved, true,
     ""},
    {"a name in UTF-16 beyond Windows-1252",
     "Gr\xC3\xBC\xC3\x9F"
     "e \xE2\x98\x83.rgn",
     nullptr, SaveOutcome::Saved, true, ""},
    {"a read-only file is not replaced", "readonly.rgn",
     [](const TempDir&, const std::string& file, const std::string&) {
         fs::permissions(PathOf(file), fs::perms::owner_write, fs::perm_options::remove);
     },
     SaveOutcome::Failed, false, "The file is write-protected"},
    {"a backup name that is a folder stops the save", "folder.rgn",
     [](const TempDir&, const std::string&, const std::string& backup) {
         fs::remove(PathOf(backup));
         fs::create_directory(PathOf(backup));
     },
     SaveOutcome::Failed, false, "Could not make the backup"},
    {"a file changed since it was read is kept", "changed.rgn",
     [](const TempDir&, const std::string& file, const std::string&) {
         WriteFile(file, kOld + "grown");
     },
     SaveOutcome::FileChanged, false, ""},
    {"a backup name that is the file itself (another spelling)", "twice.BAK", nullptr,
     SaveOutcome::Failed, false, "the backup would replace the file"},
    {"a read-only backup is refused, naming it and what to do", "robackup.rgn",
     [](const TempDir&, const std::string&, const std::string& backup) {
         fs::permissions(PathOf(backup), fs::perms::owner_write, fs::perm_options::remove);
     },
     SaveOutcome::Failed, false, "make it writable"},
    {"a file held open by another program keeps its old backup", "held.rgn", nullptr,
     SaveOutcome::Failed, false, "close it there", true},
};

TEST(WindowsSave, KeepsTheFileAndItsBackupWhateverFails) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.rule);
        TempDir dir;
        const std::string file = dir.File(row.fileName);
        const std::string backup = FirmwareImage::BackupName(file);
        WriteFile(backup, kOldBackup);
        WriteFile(file, kOld);  // over the backup, where the two names are one file
        const bool backupIsTheFile = fs::equivalent(PathOf(file), PathOf(backup));
        FirmwareImage image;
        ASSERT_TRUE(image.Load(file)) << image.LastError();
        ASSERT_TRUE(image.LocateMessage("WARNING"));
        image.ReplaceMessage("NEW OWNER");
        const std::string written(reinterpret_cast<const char*>(image.Data()), image.Length());
        const std::string before =
            row.fault ? (row.fault(dir, file, backup), ReadFile(file)) : kOld;

        const HANDLE held = row.holdOpen ? HoldOpen(file) : INVALID_HANDLE_VALUE;
        EXPECT_EQ(image.Save(true, IfFileChanged::Keep), row.outcome) << image.LastError();
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }

        fs::permissions(PathOf(file), fs::perms::owner_write, fs::perm_options::add);
        if (fs::is_regular_file(PathOf(backup))) {
            fs::permissions(PathOf(backup), fs::perms::owner_write, fs::perm_options::add);
        }
        EXPECT_EQ(ReadFile(file), row.fileIsNew ? written : before);
        if (row.outcome == SaveOutcome::Saved) {
            EXPECT_EQ(ReadFile(backup), kOld);
        } else if (fs::is_regular_file(PathOf(backup)) && !backupIsTheFile) {
            EXPECT_EQ(ReadFile(backup), kOldBackup);
        }
        if (row.outcome == SaveOutcome::Failed) {
            const FileFailure& failure = image.LastFailure();
            const std::string text = failure.message + "\n" + failure.advice;
            EXPECT_NE(text.find(row.messagePart), std::string::npos) << text;
            // Windows' own words for the cause, never the C library's.
            EXPECT_EQ(text.find("Permission denied"), std::string::npos) << text;
        }
        // Only the file and its backup (or the folder at the backup's name) are left.
        EXPECT_LE(Names(dir.Path()).size(), 2u);
    }
}

TEST(WindowsSave, OverwritesAChangedFileWhenToldAndBacksUpWhatItFound) {
    TempDir dir;
    const std::string file = dir.File("told.rgn");
    WriteFile(file, kOld);
    FirmwareImage image;
    ASSERT_TRUE(image.Load(file));
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("NEW OWNER");
    WriteFile(file, kOld + "grown");
    EXPECT_EQ(image.Save(true, IfFileChanged::Overwrite), SaveOutcome::Saved);
    EXPECT_EQ(ReadFile(FirmwareImage::BackupName(file)), kOld + "grown");
    EXPECT_EQ(ReadFile(file).size(), kOld.size());
}

TEST(WindowsSave, AFolderThatVanishedFailsWithoutLosingTheFile) {
    TempDir dir;
    fs::create_directory(dir.Path() / "inner");
    const std::string file = dir.File("inner/gone.rgn");
    WriteFile(file, kOld);
    FirmwareImage image;
    ASSERT_TRUE(image.Load(file));
    fs::rename(dir.Path() / "inner", dir.Path() / "moved");
    EXPECT_EQ(image.Save(true, IfFileChanged::Keep), SaveOutcome::Failed);
    EXPECT_EQ(ReadFile(dir.File("moved/gone.rgn")), kOld);
    EXPECT_EQ(Names(dir.Path() / "moved").size(), 1u);
}

}  // namespace
}  // namespace tavlo::test
