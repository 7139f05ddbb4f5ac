#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "core/firmware_image.h"
#include "support/image_files.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

// A save that was killed leaves its temporary file; the next save of the same file removes it,
// but never one that a save in progress still holds.
TEST(LeftoverTemporaries, TheNextSaveRemovesWhatAKilledSaveLeft) {
    TempDir dir;
    FirmwareImage image;
    const std::string path = LoadBytes(dir, image, "\0WARNING\0\0"s);
    WriteFile(path + ".tavlo-Ab12Cd", "half of a save");
    WriteFile(dir.File("firmware.bak.tavlo-Zz99zZ"), "half of a backup");
    WriteFile(path + ".tavlo-toolong1", "not ours: the name is longer");
    WriteFile(dir.File("other.rgn.tavlo-Ab12Cd"), "another file's");

    ASSERT_TRUE(image.Save(true)) << image.LastError();
    EXPECT_FALSE(FileExists(path + ".tavlo-Ab12Cd"));
    EXPECT_FALSE(FileExists(dir.File("firmware.bak.tavlo-Zz99zZ")));
    EXPECT_TRUE(FileExists(path + ".tavlo-toolong1"));
    EXPECT_TRUE(FileExists(dir.File("other.rgn.tavlo-Ab12Cd")));
}

TEST(LeftoverTemporaries, ATemporaryFileHeldByARunningSaveStays) {
    TempDir dir;
    FirmwareImage image;
    const std::string path = LoadBytes(dir, image, "\0WARNING\0\0"s);
    const std::string busy = path + ".tavlo-Busy01";
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

}  // namespace
}  // namespace tavlo::test
