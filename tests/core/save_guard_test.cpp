// What a save checks before the file on disk changes: a backup name that leads to the file
// itself, a file changed or replaced behind the program's back since it was loaded, and the
// cause that follows "Open for write failed".
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "support/image_files.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kOriginal = "header\0WARNING: do not remove\0trailer"s;
const std::string kNotes = "the user's own notes";

// Loads `path`, patches its message and gives the patched bytes.
std::string LoadAndPatch(FirmwareImage& image, const std::string& path) {
    EXPECT_TRUE(image.Load(path)) << image.LastError();
    EXPECT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("Terry N. Owner\n");
    return ImageBytes(image);
}

void SetModified(const std::string& path, timespec when) {
    const timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << std::strerror(errno);
}

timespec ModifiedAt(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mtim;
}

struct SymbolicLink {
    const char* name;
    const char* target;
};

struct SameFileRow {
    const char* rule;
    const char* file;                 // holds the firmware
    std::vector<SymbolicLink> links;  // made before loading
    const char* loaded;               // the name loaded and saved
};

const SameFileRow kSameFileRows[] = {
    {"the file is named like its own backup", "unit.bak", {}, "unit.bak"},
    {"a symbolic link to the backup name", "fw.bak", {{"fw.rgn", "fw.bak"}}, "fw.rgn"},
    {"a link to the backup name through a link to the folder",
     "fw.bak",
     {{"here", "."}, {"fw.rgn", "here/fw.bak"}},
     "fw.rgn"},
};

// One row; an ASSERT ends this row only.
void CheckSameFile(const SameFileRow& row) {
    TempDir dir;
    WriteFile(dir.File(row.file), kOriginal);
    for (const SymbolicLink& link : row.links) {
        fs::create_symlink(link.target, dir.Path() / link.name);
    }
    FirmwareImage image;
    const std::string patched = LoadAndPatch(image, dir.File(row.loaded));
    const std::vector<std::string> names = Names(dir.Path());

    EXPECT_EQ(image.Save(true, IfFileChanged::Overwrite), SaveOutcome::Failed);
    const FileFailure& failure = image.LastFailure();
    EXPECT_NE(failure.message.find("the backup would replace the file"), std::string::npos)
        << failure.message;
    EXPECT_NE(failure.advice.find("rename the file"), std::string::npos) << failure.advice;
    EXPECT_EQ(ReadFile(dir.File(row.file)), kOriginal);
    EXPECT_EQ(Names(dir.Path()), names);

    EXPECT_TRUE(image.Save(false)) << image.LastError();
    EXPECT_EQ(ReadFile(dir.File(row.file)), patched);
}

TEST(BackupIsTheFile, NothingIsWrittenAndASaveWithoutBackupStillWorks) {
    for (const SameFileRow& row : kSameFileRows) {
        SCOPED_TRACE(row.rule);
        CheckSameFile(row);
    }
}

// Another name of the file under the backup name is not the file's own entry: the backup takes
// that name's place, so the original contents are kept there. A save killed between making the
// backup and replacing the file leaves such a hard link, and the next save must go on.
struct OtherNameRow {
    const char* rule;
    bool hardLink;  // else "fw.bak" is a symbolic link to "fw.rgn"
};

const OtherNameRow kOtherNameRows[] = {
    {"the backup name is a hard link to the file", true},
    {"the backup name is a symbolic link to the file", false},
};

TEST(BackupIsAnotherNameOfTheFile, TheOriginalBecomesTheBackup) {
    for (const OtherNameRow& row : kOtherNameRows) {
        SCOPED_TRACE(row.rule);
        TempDir dir;
        const std::string file = dir.File("fw.rgn");
        const std::string backup = dir.File("fw.bak");
        WriteFile(file, kOriginal);
        if (row.hardLink) {
            fs::create_hard_link(file, backup);
        } else {
            fs::create_symlink("fw.rgn", backup);
        }
        FirmwareImage image;
        const std::string patched = LoadAndPatch(image, file);
        EXPECT_EQ(image.Save(true, IfFileChanged::Keep), SaveOutcome::Saved) << image.LastError();
        EXPECT_EQ(ReadFile(file), patched);
        EXPECT_EQ(ReadFile(backup), kOriginal);
        EXPECT_FALSE(fs::is_symlink(backup));
    }
}

// Ways the file can change between Search and Exit. The file was last written an hour before it
// was loaded, so any change now shows in its time unless the change puts the time back.
enum class Change {
    RewrittenInPlace,      // same file, same size, other bytes
    RewrittenTimeKept,     // the same, its time put back (dd conv=notrunc, touch -r)
    GrownTimeKept,         // same file, one byte longer, time put back
    TouchedOnly,           // same bytes, new time
    ReplacedByACopy,       // another file with the same bytes and time, renamed over it
    ReplacedByALink,       // a symbolic link to the user's notes in its place
    LoadedLinkRetargeted,  // the link that was loaded now leads to the user's notes
};

struct ChangedRow {
    const char* rule;
    const char* loaded;  // real.rgn, or link.rgn, a symbolic link to it
    Change change;
};

const ChangedRow kChangedRows[] = {
    {"rewritten in place", "real.rgn", Change::RewrittenInPlace},
    {"rewritten in place, its time put back", "real.rgn", Change::RewrittenTimeKept},
    {"grown, its time put back", "real.rgn", Change::GrownTimeKept},
    {"touched", "real.rgn", Change::TouchedOnly},
    {"replaced by a copy with the same bytes and time", "real.rgn", Change::ReplacedByACopy},
    {"replaced by a symbolic link to the user's notes", "real.rgn", Change::ReplacedByALink},
    {"the same through the loaded link", "link.rgn", Change::ReplacedByALink},
    {"the loaded link now leads to the user's notes", "link.rgn", Change::LoadedLinkRetargeted},
};

void ChangeOnDisk(const TempDir& dir, Change change, timespec loadedTime) {
    const std::string real = dir.File("real.rgn");
    switch (change) {
        case Change::RewrittenInPlace: {
            std::fstream file(real, std::ios::in | std::ios::out | std::ios::binary);
            EXPECT_TRUE(file.put('H'));
            break;
        }
        case Change::RewrittenTimeKept: {
            std::fstream file(real, std::ios::in | std::ios::out | std::ios::binary);
            EXPECT_TRUE(file.put('H'));
            file.close();
            SetModified(real, loadedTime);
            break;
        }
        case Change::GrownTimeKept:
            WriteFile(real, kOriginal + "+");
            SetModified(real, loadedTime);
            break;
        case Change::TouchedOnly:
            SetModified(real, {loadedTime.tv_sec + 1, loadedTime.tv_nsec});
            break;
        case Change::ReplacedByACopy:
            WriteFile(real + ".new", kOriginal);
            SetModified(real + ".new", loadedTime);
            fs::rename(real + ".new", real);
            break;
        case Change::ReplacedByALink:
            fs::remove(real);
            fs::create_symlink("notes.txt", real);
            break;
        case Change::LoadedLinkRetargeted:
            fs::remove(dir.File("link.rgn"));
            fs::create_symlink("notes.txt", dir.File("link.rgn"));
            break;
    }
}

TEST(FileChangedSinceLoad, IsLeftAloneUnlessOverwriteIsAskedForAndNeverWrittenThrough) {
    for (const ChangedRow& row : kChangedRows) {
        SCOPED_TRACE(row.rule);
        TempDir dir;
        const std::string real = dir.File("real.rgn");
        WriteFile(real, kOriginal);
        SetModified(real, {ModifiedAt(real).tv_sec - 3600, 0});
        WriteFile(dir.File("notes.txt"), kNotes);
        fs::create_symlink("real.rgn", dir.File("link.rgn"));
        FirmwareImage image;
        const std::string loaded = dir.File(row.loaded);
        const std::string patched = LoadAndPatch(image, loaded);
        ChangeOnDisk(dir, row.change, ModifiedAt(real));
        const std::string atName = ReadFile(loaded);
        const std::string replaced = ReadFile(real);
        const std::vector<std::string> names = Names(dir.Path());

        EXPECT_EQ(image.Save(true, IfFileChanged::Keep), SaveOutcome::FileChanged);
        EXPECT_NE(image.LastError().find("changed"), std::string::npos) << image.LastError();
        EXPECT_EQ(ReadFile(loaded), atName);
        EXPECT_EQ(Names(dir.Path()), names);
        EXPECT_TRUE(image.IsModified());
        EXPECT_EQ(ImageBytes(image), patched);

        // Asked to overwrite: the file that was loaded gets the image, what stood under its name
        // becomes the backup, and nothing is written through a link.
        EXPECT_EQ(image.Save(true, IfFileChanged::Overwrite), SaveOutcome::Saved)
            << image.LastError();
        EXPECT_EQ(ReadFile(real), patched);
        EXPECT_EQ(ReadFile(FirmwareImage::BackupName(loaded)), replaced);
        EXPECT_EQ(ReadFile(dir.File("notes.txt")), kNotes);
    }
}

// The folder that holds the file is swapped for another between loading and saving: the save
// writes into neither folder.
struct FolderSwapRow {
    const char* rule;
    const char* loaded;  // below the test's folder
    bool byLink;         // "cur" is a link that is pointed at another folder; else "work" is
                         // moved away and a new folder made under its name
};

const FolderSwapRow kFolderSwapRows[] = {
    {"the folder moved away and a new one made under its name", "work/unit.rgn", false},
    {"a link to the folder pointed at another folder", "cur/unit.rgn", true},
};

TEST(FolderSwapped, IsAChangeAndNothingIsWritten) {
    for (const FolderSwapRow& row : kFolderSwapRows) {
        SCOPED_TRACE(row.rule);
        TempDir dir;
        for (const char* folder : {"work", "other"}) {
            fs::create_directory(dir.Path() / folder);
            WriteFile(dir.File(std::string(folder) + "/unit.rgn"), kOriginal);
        }
        fs::create_directory_symlink("work", dir.Path() / "cur");
        FirmwareImage image;
        LoadAndPatch(image, dir.File(row.loaded));
        if (row.byLink) {
            fs::remove(dir.Path() / "cur");
            fs::create_directory_symlink("other", dir.Path() / "cur");
        } else {
            fs::rename(dir.Path() / "work", dir.Path() / "work.old");
            fs::create_directory(dir.Path() / "work");
        }
        EXPECT_EQ(image.Save(true, IfFileChanged::Keep), SaveOutcome::FileChanged);
        EXPECT_NE(image.LastError().find("folder"), std::string::npos) << image.LastError();
        for (const char* folder : {"work.old", "other"}) {
            if (fs::exists(dir.Path() / folder)) {
                EXPECT_EQ(Names(dir.Path() / folder), std::vector<std::string>{"unit.rgn"});
                EXPECT_EQ(ReadFile(dir.File(std::string(folder) + "/unit.rgn")), kOriginal);
            }
        }
    }
}

// What changes the file's change time but not its contents is no change to keep.
TEST(NotAChange, NewPermissionBitsOrASecondNameLetTheSaveGoOn) {
    for (const bool secondName : {false, true}) {
        SCOPED_TRACE(secondName ? "a second name" : "new permission bits");
        TempDir dir;
        const std::string file = dir.File("unit.rgn");
        WriteFile(file, kOriginal);
        FirmwareImage image;
        const std::string patched = LoadAndPatch(image, file);
        if (secondName) {
            fs::create_hard_link(file, dir.File("elsewhere.rgn"));
        } else {
            fs::permissions(file, fs::perms::others_read, fs::perm_options::remove);
        }
        EXPECT_EQ(image.Save(true, IfFileChanged::Keep), SaveOutcome::Saved) << image.LastError();
        EXPECT_EQ(ReadFile(file), patched);
        EXPECT_EQ(ReadFile(dir.File("unit.bak")), kOriginal);
    }
}

struct OpenForWriteRow {
    const char* rule;
    std::string name;    // of the firmware file, inside the folder "gps"
    bool folderRemoved;  // after loading
    int cause;
};

const OpenForWriteRow kOpenForWriteRows[] = {
    {"a name with no room left for the temporary name", std::string(250, 'n') + ".rgn", false,
     ENAMETOOLONG},
    {"the folder removed after loading", "firmware.rgn", true, ENOENT},
};

void CheckOpenForWrite(const OpenForWriteRow& row) {
    TempDir dir;
    fs::create_directory(dir.Path() / "gps");
    const std::string path = dir.File("gps/" + row.name);
    WriteFile(path, kOriginal);
    FirmwareImage image;
    LoadAndPatch(image, path);
    if (row.folderRemoved) {
        fs::remove_all(dir.Path() / "gps");
    }
    EXPECT_FALSE(image.Save(true));
    const FileFailure& failure = image.LastFailure();
    EXPECT_TRUE(failure.openForWriteFailed);
    const std::string cause = std::strerror(row.cause);
    EXPECT_TRUE(failure.message.ends_with(": " + cause)) << failure.message;
    if (!row.folderRemoved) {
        EXPECT_EQ(ReadFile(path), kOriginal);
        EXPECT_EQ(Names(dir.Path() / "gps"), std::vector<std::string>{row.name});
    }
}

TEST(OpenForWriteFailed, NamesTheCause) {
    for (const OpenForWriteRow& row : kOpenForWriteRows) {
        SCOPED_TRACE(row.rule);
        CheckOpenForWrite(row);
    }
}

}  // namespace
}  // namespace tavlo::test
