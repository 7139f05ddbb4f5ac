#include <gtest/gtest.h>

#include <string>

#include "core/atomic_file.h"
#include "core/firmware_image.h"
#include "support/image_files.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tavlo::test {
namespace {

using namespace std::string_literals;

struct LeftoverRow {
    const char* rule;
    std::string name;  // beside "firmware.rgn"
    bool removed;
};

// A save that was killed leaves its temporary files; the next save of the same file removes
// them. Only names of the program's own exact shape go: never a file of the user's.
TEST(LeftoverTemporaries, OnlyNamesOfTheSavesOwnShapeAreRemoved) {
    const std::string own = TemporaryNameFor("firmware.rgn");
    const std::string ownBackup = TemporaryNameFor("firmware.bak");
    const LeftoverRow rows[] = {
        {"a killed save's new contents", own, true},
        {"a killed save's backup", ownBackup, true},
        {"the user's notes with an extension", "firmware.rgn.tavlo-notes.txt", false},
        {"the user's notes of the temporary names' length", "firmware.rgn.tavlo-notes1abcd", false},
        {"six letters, as older saves named them", "firmware.rgn.tavlo-Ab12Cd", false},
        {"upper-case digits", "firmware.rgn.tavlo-0123456789AB", false},
        {"one digit more", own + "0", false},
        {"another file's", "other.rgn" + own.substr(12), false},
    };
    TempDir dir;
    FirmwareImage image;
    const std::string path = LoadBytes(dir, image, "\0WARNING\0\0"s);
    for (const LeftoverRow& row : rows) {
        WriteFile(dir.File(row.name), "bytes");
    }
    ASSERT_TRUE(image.Save(true)) << image.LastError();
    for (const LeftoverRow& row : rows) {
        SCOPED_TRACE(row.rule);
        EXPECT_EQ(FileExists(dir.File(row.name)), !row.removed) << row.name;
    }
}

#ifndef _WIN32
TEST(LeftoverTemporaries, ATemporaryFileHeldByARunningSaveStays) {
    TempDir dir;
    FirmwareImage image;
    const std::string path = LoadBytes(dir, image, "\0WARNING\0\0"s);
    const std::string busy = dir.File(TemporaryNameFor("firmware.rgn"));
    WriteFile(busy, "being written");
    const int fd = ::open(busy.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    // flock locks belong to the open file description, so a second open of it in this process
    // is refused like another process would be.
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_TRUE(image.Save(false)) << image.LastError();
    EXPECT_TRUE(FileExists(busy));
    ::close(fd);
    EXPECT_TRUE(image.Save(false)) << image.LastError();
    EXPECT_FALSE(FileExists(busy));
}
#endif

}  // namespace
}  // namespace tavlo::test
