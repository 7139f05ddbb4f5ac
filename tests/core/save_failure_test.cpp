// Saves that cannot be made: whatever stops them, early (a write-protected backup, another
// user's file in a sticky folder) or at the very last step (a file that may only be appended
// to), the file and its old backup keep their bytes and nothing the save made is left behind.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "support/child_process.h"
#include "support/image_files.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kOriginal = "header\0WARNING: do not remove\0trailer"s;
const std::string kPristine = "PRISTINE backup\n";

// Sets or clears the append-only flag (chattr +a); false where the file system has none.
bool SetAppendOnly(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_APPEND_FL) : (flags & ~FS_APPEND_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return done;
}

struct FailureRow {
    const char* rule;
    std::function<bool(const TempDir&)> fault;  // false: not possible here, skipped
    bool unprivileged;                          // the save runs as an ordinary user
    const char* message;                        // part of the failure's message
    const char* advice;                         // part of its advice
};

// "message|advice" of a failed save, or what went otherwise.
std::string SaveAndTell(const std::string& path) {
    FirmwareImage image;
    if (!image.Load(path) || !image.LocateMessage("WARNING")) {
        return "cannot load: " + image.LastError();
    }
    image.ReplaceMessage("Terry N. Owner\n");
    if (image.Save(true)) {
        return "saved";
    }
    return image.LastFailure().message + "|" + image.LastFailure().advice;
}

TEST(SaveFailure, KeepsTheFileAndItsOldBackupAndLeavesNothingBehind) {
    const FailureRow rows[] = {
        {"the file may only be appended to: the last step fails",
         [](const TempDir& dir) { return SetAppendOnly(dir.File("unit.rgn"), true); }, false,
         "Could not replace", ""},
        {"a write-protected backup is refused like a write-protected file",
         [](const TempDir& dir) { return ::chmod(dir.File("unit.bak").c_str(), 0444) == 0; }, true,
         "Could not make the backup '", "The backup is write-protected"},
        {"another user's file in a sticky folder",
         [](const TempDir& dir) { return ::chmod(dir.Path().c_str(), 01777) == 0; }, true,
         "Operation not permitted", ""},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.rule);
        TempDir dir;
        fs::permissions(dir.Path(), fs::perms::all);
        const std::string file = dir.File("unit.rgn");
        WriteFile(file, kOriginal);
        WriteFile(dir.File("unit.bak"), kPristine);
        ::chmod(file.c_str(), 0666);
        ::chmod(dir.File("unit.bak").c_str(), 0666);
        if (!row.fault(dir)) {
            ADD_FAILURE() << "cannot set up the fault here";
            continue;
        }
        const auto told = test::RunInChild([&] { return SaveAndTell(file); }, row.unprivileged);
        SetAppendOnly(file, false);
        if (!told) {
            GTEST_SKIP() << "cannot run as an ordinary user";
        }
        EXPECT_NE(told->find(row.message), std::string::npos) << *told;
        EXPECT_NE(told->find("|"s + row.advice), std::string::npos) << *told;
        EXPECT_EQ(ReadFile(file), kOriginal);
        EXPECT_EQ(ReadFile(dir.File("unit.bak")), kPristine);
        EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"unit.bak", "unit.rgn"}));
    }
}

}  // namespace
}  // namespace tavlo::test
