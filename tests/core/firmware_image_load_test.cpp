#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/embedded_resources.h"
#include "core/firmware_image.h"
#include "support/child_process.h"
#include "support/image_files.h"

namespace tavlo {
namespace {

using test::ImageBytes;
using test::LoadBytes;
using test::TempDir;
using test::WriteFile;

using namespace std::string_literals;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// An image with a match, a patch and a known name, to see that a failed Load keeps all of it.
struct PatchedImage {
    explicit PatchedImage(const TempDir& dir) {
        path = LoadBytes(dir, image, "xWARNING\0rest\0"s, "kept.rgn");
        image.LocateMessage("WARNING");
        image.ReplaceMessage("mine");
    }
    void ExpectUnchanged() const {
        EXPECT_EQ(ImageBytes(image), "xmine   \0rest\0"s);
        EXPECT_EQ(image.FileName(), path);
        EXPECT_TRUE(image.IsModified());
        EXPECT_EQ(image.MatchOffset(), 1);
        EXPECT_FALSE(image.IsResourceBacked());
        EXPECT_EQ(image.Data()[image.Length()], 0);
    }
    FirmwareImage image;
    std::string path;
};

// A file of `size` bytes that takes no room on disk.
bool MakeSparseFile(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::ftruncate(fd, size) == 0;
    ::close(fd);
    return ok;
}

TEST(FirmwareImageLoad, NewImageIsEmpty) {
    FirmwareImage image;
    EXPECT_EQ(image.Data(), nullptr);
    EXPECT_EQ(image.Length(), 0u);
    EXPECT_EQ(image.FileName(), "");
    EXPECT_FALSE(image.IsModified());
    EXPECT_FALSE(image.IsResourceBacked());
    EXPECT_EQ(image.MatchOffset(), -1);
}

TEST(FirmwareImageLoad, HoldsTheFileFollowedByAZeroByte) {
    TempDir dir;
    FirmwareImage image;
    const std::string bytes = "\x00\x01\xFF\r\n\x1A tail"s;
    const std::string path = LoadBytes(dir, image, bytes);
    EXPECT_EQ(ImageBytes(image), bytes);
    EXPECT_EQ(image.Length(), bytes.size());
    EXPECT_EQ(image.Data()[bytes.size()], 0);
    EXPECT_EQ(image.FileName(), path);
    EXPECT_FALSE(image.IsModified());
    EXPECT_EQ(image.MatchOffset(), -1);
    EXPECT_EQ(image.LastError(), "");
}

TEST(FirmwareImageLoad, KeepsThePathExactlyAsGiven) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "Sub");
    WriteFile(dir.File("Sub/FW.RGN"), "abc");
    FirmwareImage image;
    const std::string path = dir.Path().string() + "/Sub/../Sub//FW.RGN";
    ASSERT_TRUE(image.Load(path));
    EXPECT_EQ(image.FileName(), path);
}

TEST(FirmwareImageLoad, EmptyFileGivesAnImageOfLengthZero) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "");
    EXPECT_EQ(image.Length(), 0u);
    ASSERT_NE(image.Data(), nullptr);
    EXPECT_EQ(image.Data()[0], 0);
}

TEST(FirmwareImageLoad, SecondLoadReplacesEverything) {
    TempDir dir;
    PatchedImage patched(dir);
    const std::string other = LoadBytes(dir, patched.image, "second file", "second.rgn");
    EXPECT_EQ(ImageBytes(patched.image), "second file");
    EXPECT_EQ(patched.image.FileName(), other);
    EXPECT_FALSE(patched.image.IsModified());
    EXPECT_EQ(patched.image.MatchOffset(), -1);
}

TEST(FirmwareImageLoad, MissingFileFailsAndKeepsTheImage) {
    TempDir dir;
    PatchedImage patched(dir);
    EXPECT_FALSE(patched.image.Load(dir.File("missing.rgn")));
    EXPECT_EQ(patched.image.LastError(), "No such file or directory");
    patched.ExpectUnchanged();
}

TEST(FirmwareImageLoad, FolderFailsAndKeepsTheImage) {
    TempDir dir;
    PatchedImage patched(dir);
    std::filesystem::create_directory(dir.Path() / "folder.rgn");
    EXPECT_FALSE(patched.image.Load(dir.File("folder.rgn")));
    EXPECT_EQ(patched.image.LastError(), "Is a directory");
    patched.ExpectUnchanged();
}

TEST(FirmwareImageLoad, NamedPipeIsRefusedWithoutWaiting) {
    TempDir dir;
    PatchedImage patched(dir);
    ASSERT_EQ(::mkfifo(dir.File("pipe.rgn").c_str(), 0600), 0);
    EXPECT_FALSE(patched.image.Load(dir.File("pipe.rgn")));
    EXPECT_EQ(patched.image.LastError(), "Not a regular file");
    patched.ExpectUnchanged();
}

TEST(FirmwareImageLoad, UnreadableFileFailsAndKeepsTheImage) {
    TempDir dir;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
    const std::string path = dir.File("secret.rgn");
    WriteFile(path, "secret");
    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    WriteFile(dir.File("open.rgn"), "open\0"s);
    // As the administrator every file is readable; the check runs as an ordinary user.
    const auto seen = test::RunInChild(
        [&] {
            FirmwareImage image;
            if (!image.Load(dir.File("open.rgn"))) {
                return "cannot load the readable file: " + image.LastError();
            }
            const bool loaded = image.Load(path);
            return std::string(loaded ? "loaded" : "refused") + "|" + image.LastError() + "|" +
                   ImageBytes(image) + "|" + image.FileName();
        },
        /*unprivileged=*/true);
    if (!seen) {
        GTEST_SKIP() << "cannot run as an ordinary user";
    }
    EXPECT_EQ(*seen, "refused|Permission denied|open\0|"s + dir.File("open.rgn"));
}

TEST(FirmwareImageLoad, FileShorterThanItsReportedSizeFails) {
    // Kernel attribute files report a whole page as their size but read much less: the same as
    // a file that shrinks between measuring and reading it.
    const std::string path = "/sys/kernel/mm/transparent_hugepage/enabled";
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || info.st_size <= 0 ||
        ::access(path.c_str(), R_OK) != 0) {
        GTEST_SKIP() << "no kernel attribute file to read";
    }
    TempDir dir;
    PatchedImage patched(dir);
    EXPECT_FALSE(patched.image.Load(path));
    EXPECT_EQ(patched.image.LastError(), "The file became shorter while it was being read");
    patched.ExpectUnchanged();
}

TEST(FirmwareImageLoad, FileOf4GiBIsRefusedBeforeAnythingIsAllocated) {
    TempDir dir;
    PatchedImage patched(dir);
    const std::string path = dir.File("huge.rgn");
    if (!MakeSparseFile(path, off_t{1} << 32)) {
        GTEST_SKIP() << "the file system holds no sparse file of 4 GiB";
    }
    EXPECT_FALSE(patched.image.Load(path));
    EXPECT_EQ(patched.image.LastError(), "The file is too large (4 GiB or more)");
    patched.ExpectUnchanged();
}

TEST(FirmwareImageLoad, ExhaustedMemoryFailsCleanly) {
    if (kSanitized) {
        GTEST_SKIP() << "the address sanitizer cannot run under an address-space limit";
    }
    TempDir dir;
    const std::string path = dir.File("big.rgn");
    if (!MakeSparseFile(path, off_t{3} << 30)) {
        GTEST_SKIP() << "the file system holds no sparse file of 3 GiB";
    }
    const std::string small = dir.File("small.rgn");
    WriteFile(small, "small");
    const auto seen = test::RunInChild([&] {
        FirmwareImage image;
        if (!image.Load(small)) {
            return "cannot load the small file: " + image.LastError();
        }
        const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) {
            return std::string("cannot limit memory");
        }
        const bool loaded = image.Load(path);
        return std::string(loaded ? "loaded" : "refused") + "|" + image.LastError() + "|" +
               ImageBytes(image);
    });
    ASSERT_TRUE(seen);
    EXPECT_EQ(*seen, "refused|Not enough memory to load the file|small");
}

TEST(FirmwareImageLoad, ResourceBytesAreUsedInPlace) {
    TempDir dir;
    PatchedImage patched(dir);
    const auto resource = FindResource("tavlo.cfg", "RT_TAVLO");
    ASSERT_TRUE(resource);
    const std::string target = dir.File("tavlo.cfg");
    ASSERT_TRUE(patched.image.LoadFromResource("TAVLO.CFG", "rt_tavlo", target));
    EXPECT_EQ(patched.image.Data(), resource->data());
    EXPECT_EQ(patched.image.Length(), resource->size());
    EXPECT_EQ(patched.image.FileName(), target);
    EXPECT_TRUE(patched.image.IsResourceBacked());
    EXPECT_FALSE(patched.image.IsModified());
    EXPECT_EQ(patched.image.MatchOffset(), -1);
}

TEST(FirmwareImageLoad, MissingResourceFailsAndKeepsTheImage) {
    TempDir dir;
    PatchedImage patched(dir);
    EXPECT_FALSE(patched.image.LoadFromResource("nothing.cfg", "RT_TAVLO", dir.File("x.cfg")));
    EXPECT_FALSE(patched.image.LoadFromResource("tavlo.cfg", "BITMAP", dir.File("x.cfg")));
    patched.ExpectUnchanged();
}

TEST(FirmwareImageLoad, LoadAfterResourceLeavesTheResourceBytesAlone) {
    TempDir dir;
    const auto resource = FindResource("tavlo.cfg", "RT_TAVLO");
    ASSERT_TRUE(resource);
    const std::string before(reinterpret_cast<const char*>(resource->data()), resource->size());
    {
        FirmwareImage image;
        ASSERT_TRUE(image.LoadFromResource("tavlo.cfg", "RT_TAVLO", dir.File("tavlo.cfg")));
        LoadBytes(dir, image, "file");
        EXPECT_FALSE(image.IsResourceBacked());
        ASSERT_TRUE(image.LoadFromResource("tavlo.cfg", "RT_TAVLO", dir.File("tavlo.cfg")));
        // Searching is harmless, but a resource's read-only bytes are never written.
        image.LocateMessage(before.substr(0, 1));
        image.ReplaceMessage("overwritten");
        EXPECT_FALSE(image.IsModified());
    }  // destroying it must not free the resource
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(resource->data()), resource->size()),
              before);
}

TEST(BackupName, ReplacesTheExtensionOfTheLastComponent) {
    EXPECT_EQ(FirmwareImage::BackupName("firmware.rgn"), "firmware.bak");
    EXPECT_EQ(FirmwareImage::BackupName("D:\\gps\\firmware.rgn"), "D:\\gps\\firmware.bak");
    EXPECT_EQ(FirmwareImage::BackupName("/home/u/fw.v2.rgn"), "/home/u/fw.v2.bak");
    EXPECT_EQ(FirmwareImage::BackupName("firmware.bak"), "firmware.bak");
}

TEST(BackupName, AppendsWhenTheLastComponentHasNoExtension) {
    EXPECT_EQ(FirmwareImage::BackupName("D:\\gps\\firmware"), "D:\\gps\\firmware.bak");
    EXPECT_EQ(FirmwareImage::BackupName("D:\\data.old\\firmware"), "D:\\data.old\\firmware.bak");
    EXPECT_EQ(FirmwareImage::BackupName("/data.old/firmware"), "/data.old/firmware.bak");
    EXPECT_EQ(FirmwareImage::BackupName("firmware"), "firmware.bak");
    EXPECT_EQ(FirmwareImage::BackupName(""), ".bak");
}

TEST(BackupName, OnlyTheVeryFirstCharacterOfThePathDoesNotCount) {
    EXPECT_EQ(FirmwareImage::BackupName(".rgn"), ".rgn.bak");
    EXPECT_EQ(FirmwareImage::BackupName("/tmp/.rgn"), "/tmp/.bak");
    EXPECT_EQ(FirmwareImage::BackupName("./firmware"), "./firmware.bak");
    EXPECT_EQ(FirmwareImage::BackupName("fw."), "fw.bak");
}

}  // namespace
}  // namespace tavlo
