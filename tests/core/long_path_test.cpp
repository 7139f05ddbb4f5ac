#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/file_names.h"
#include "core/firmware_image.h"
#include "support/image_files.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// The test's own file calls take a long path in Windows' "\\?\" form.
#ifdef _WIN32
constexpr char kSeparator = '\\';
std::string ForTheTest(const std::string& path) {
    return "\\\\?\\" + path;
}
#else
constexpr char kSeparator = '/';
std::string ForTheTest(const std::string& path) {
    return path;
}
#endif

// A file whose path is longer than Windows' old 260-character limit, and its temporary name
// longer still: it loads and saves with a backup like any other.
TEST(LongPath, LoadsAndSavesBeyond260Characters) {
    TempDir dir;
    std::string folder = NativePathOf(dir.Path());
    for (int level = 0; level < 4; ++level) {
        folder += kSeparator + std::string(70, static_cast<char>('a' + level));
    }
    ASSERT_TRUE(fs::create_directories(PathOf(ForTheTest(folder))));
    const std::string file = folder + kSeparator + "firmware with a long name.rgn";
    ASSERT_GT(file.size(), 300u);
    const std::string original = "header\0WARNING: do not remove\0trailer"s;
    WriteFile(ForTheTest(file), original);

    FirmwareImage image;
    ASSERT_TRUE(image.Load(file)) << image.LastError();
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("Terry N. Owner\n");
    EXPECT_TRUE(image.Save(true)) << image.LastError();
    EXPECT_EQ(ReadFile(ForTheTest(file)), ImageBytes(image));
    EXPECT_EQ(ReadFile(ForTheTest(FirmwareImage::BackupName(file))), original);
}

}  // namespace
}  // namespace tavlo::test
