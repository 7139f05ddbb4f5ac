#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/embedded_resources.h"
#include "core/firmware_image.h"
#include "support/child_process.h"
#include "support/image_files.h"

namespace tavlo {
namespace {

namespace fs = std::filesystem;

using test::FileExists;
using test::ImageBytes;
using test::LoadBytes;
using test::Names;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using namespace std::string_literals;

const std::string kOriginal = "header\0WARNING: do not remove\0trailer"s;
const std::string kPatched = "header\0Terry N. Owner\n       \0trailer"s;

unsigned Mode(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0u;
}

// "true", or "false|" and why ("open|" first when nothing could be written), as one line.
std::string Outcome(bool result, const FirmwareImage& image) {
    if (result) {
        return "true";
    }
    const FileFailure& failure = image.LastFailure();
    return std::string("false|") + (failure.openForWriteFailed ? "open|" : "") + failure.message;
}

class FirmwareImageSave : public ::testing::Test {
protected:
    // Loads the original firmware into the image and patches it.
    std::string LoadAndPatch(std::string_view name = "firmware.rgn") {
        const std::string path = LoadBytes(dir, image, kOriginal, name);
        EXPECT_TRUE(image.LocateMessage("WARNING"));
        image.ReplaceMessage("Terry N. Owner\n");
        EXPECT_EQ(ImageBytes(image), kPatched);
        return path;
    }

    TempDir dir;
    FirmwareImage image;
};

TEST_F(FirmwareImageSave, NothingLoadedIsRefusedSilently) {
    EXPECT_FALSE(image.Save(true));
    EXPECT_FALSE(image.Save(false));
    EXPECT_TRUE(Names(dir.Path()).empty());
}

TEST_F(FirmwareImageSave, WithoutBackupReplacesTheFileOnly) {
    const std::string path = LoadAndPatch();
    WriteFile(dir.File("firmware.bak"), "older backup");
    EXPECT_TRUE(image.Save(false));
    EXPECT_EQ(ReadFile(path), kPatched);
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), "older backup");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
    // Saving changes nothing in memory.
    EXPECT_TRUE(image.IsModified());
    EXPECT_EQ(image.MatchOffset(), 7);
    EXPECT_EQ(ImageBytes(image), kPatched);
}

TEST_F(FirmwareImageSave, WithBackupKeepsTheOldBytesUnderBak) {
    const std::string path = LoadAndPatch();
    EXPECT_TRUE(image.Save(true));
    EXPECT_EQ(ReadFile(path), kPatched);
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), kOriginal);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
    EXPECT_TRUE(image.IsModified());
}

TEST_F(FirmwareImageSave, ExistingBackupIsReplaced) {
    const std::string path = LoadAndPatch();
    WriteFile(dir.File("firmware.bak"), "older backup, much longer than the firmware file itself");
    EXPECT_TRUE(image.Save(true));
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), kOriginal);
    EXPECT_EQ(ReadFile(path), kPatched);
    // A second save backs up what the first one wrote.
    image.ReplaceMessage("second");
    EXPECT_TRUE(image.Save(true));
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), kPatched);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

TEST_F(FirmwareImageSave, FileGoneFromDiskIsCreatedAgainAndTheOldBackupKept) {
    const std::string path = LoadAndPatch();
    WriteFile(dir.File("firmware.bak"), "older backup");
    fs::remove(path);
    EXPECT_TRUE(image.Save(true));
    EXPECT_EQ(ReadFile(path), kPatched);
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), "older backup");
}

TEST_F(FirmwareImageSave, SymbolicLinkStaysAndTheFileItNamesIsReplaced) {
    // links/fw.rgn -> chain.rgn -> ../real/target.rgn, relative to each link's own folder.
    fs::create_directory(dir.Path() / "real");
    fs::create_directory(dir.Path() / "links");
    WriteFile(dir.File("real/target.rgn"), kOriginal);
    fs::create_symlink("../real/target.rgn", dir.Path() / "links/chain.rgn");
    fs::create_symlink("chain.rgn", dir.Path() / "links/fw.rgn");
    const std::string link = dir.File("links/fw.rgn");
    ASSERT_TRUE(image.Load(link));
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("Terry N. Owner\n");

    EXPECT_TRUE(image.Save(true));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "chain.rgn");
    EXPECT_EQ(fs::read_symlink(dir.Path() / "links/chain.rgn"), "../real/target.rgn");
    EXPECT_EQ(ReadFile(dir.File("real/target.rgn")), kPatched);
    EXPECT_EQ(ReadFile(dir.File("links/fw.bak")), kOriginal);
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "links/fw.bak"));
    EXPECT_EQ(Names(dir.Path() / "real"), (std::vector<std::string>{"target.rgn"}));
    EXPECT_EQ(Names(dir.Path() / "links"),
              (std::vector<std::string>{"chain.rgn", "fw.bak", "fw.rgn"}));
}

TEST_F(FirmwareImageSave, LinkToNothingCreatesTheFileWhereItPoints) {
    fs::create_symlink("new.rgn", dir.Path() / "link.rgn");
    ASSERT_TRUE(image.LoadFromResource("tavlo.cfg", "RT_TAVLO", dir.File("link.rgn")));
    EXPECT_TRUE(image.Save(true));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.rgn"));
    const auto resource = FindResource("tavlo.cfg", "RT_TAVLO");
    ASSERT_TRUE(resource);
    EXPECT_EQ(ReadFile(dir.File("new.rgn")),
              std::string(reinterpret_cast<const char*>(resource->data()), resource->size()));
    EXPECT_FALSE(FileExists(dir.File("link.bak")));
}

TEST_F(FirmwareImageSave, RelativeNamesCountFromTheCurrentFolder) {
    // fw.rgn -> data/target.rgn, both given relative to the folder the program runs in.
    fs::create_directory(dir.Path() / "data");
    WriteFile(dir.File("data/target.rgn"), kOriginal);
    fs::create_symlink("data/target.rgn", dir.Path() / "fw.rgn");
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    bool saved = false;
    if (image.Load("fw.rgn") && image.LocateMessage("WARNING")) {
        image.ReplaceMessage("Terry N. Owner\n");
        saved = image.Save(true);
    }
    fs::current_path(before);
    EXPECT_TRUE(saved) << image.LastError();
    EXPECT_EQ(image.FileName(), "fw.rgn");
    EXPECT_EQ(ReadFile(dir.File("data/target.rgn")), kPatched);
    EXPECT_EQ(ReadFile(dir.File("fw.bak")), kOriginal);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "fw.rgn"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"data", "fw.bak", "fw.rgn"}));
    EXPECT_EQ(Names(dir.Path() / "data"), (std::vector<std::string>{"target.rgn"}));
}

TEST_F(FirmwareImageSave, EndlessLinkChainIsRefused) {
    fs::create_symlink("b.rgn", dir.Path() / "a.rgn");
    fs::create_symlink("a.rgn", dir.Path() / "b.rgn");
    ASSERT_TRUE(image.LoadFromResource("tavlo.cfg", "RT_TAVLO", dir.File("a.rgn")));
    EXPECT_FALSE(image.Save(false));
    EXPECT_EQ(Outcome(false, image), "false|Could not write '" + dir.File("a.rgn") +
                                         "': Too many levels of symbolic links");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.rgn", "b.rgn"}));
}

TEST_F(FirmwareImageSave, BackupAcrossFileSystemsIsACompleteCopy) {
    // The link lies here, the file in shared memory: no hard link can join the two.
    struct stat here;
    struct stat shm;
    if (::stat(dir.Path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev || ::access("/dev/shm", W_OK) != 0) {
        GTEST_SKIP() << "no second file system to save across";
    }
    const std::string target = "/dev/shm/tavlo-core-test-" + std::to_string(::getpid()) + ".rgn";
    WriteFile(target, kOriginal);
    ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    fs::create_symlink(target, dir.Path() / "fw.rgn");
    ASSERT_TRUE(image.Load(dir.File("fw.rgn")));
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("Terry N. Owner\n");

    const bool saved = image.Save(true);
    const std::string written = ReadFile(target);
    const unsigned targetMode = Mode(target);
    fs::remove(target);
    EXPECT_TRUE(saved) << image.LastError();
    EXPECT_EQ(written, kPatched);
    EXPECT_EQ(targetMode, 0604u);
    EXPECT_EQ(ReadFile(dir.File("fw.bak")), kOriginal);
    EXPECT_EQ(Mode(dir.File("fw.bak")), 0604u);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"fw.bak", "fw.rgn"}));
}

TEST_F(FirmwareImageSave, PermissionBitsOfTheFileAreKept) {
    const std::string path = LoadAndPatch();
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_TRUE(image.Save(true));
    EXPECT_EQ(Mode(path), 0640u);
    EXPECT_EQ(Mode(dir.File("firmware.bak")), 0640u);
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    EXPECT_TRUE(image.Save(false));
    EXPECT_EQ(Mode(path), 0604u);
}

TEST_F(FirmwareImageSave, NewFileGetsTheUsualModeForNewFiles) {
    const mode_t old = ::umask(027);
    ASSERT_TRUE(image.LoadFromResource("tavlo.cfg", "RT_TAVLO", dir.File("tavlo.cfg")));
    const bool saved = image.Save(false);
    ::umask(old);
    EXPECT_TRUE(saved);
    EXPECT_EQ(Mode(dir.File("tavlo.cfg")), 0640u);
}

TEST_F(FirmwareImageSave, ResourceIsWrittenOutUnchanged) {
    const auto resource = FindResource("tavlo.cfg", "RT_TAVLO");
    ASSERT_TRUE(resource);
    const std::string path = dir.File("tavlo.cfg");
    WriteFile(path, "an older settings file");
    ASSERT_TRUE(image.LoadFromResource("tavlo.cfg", "RT_TAVLO", path));
    EXPECT_TRUE(image.Save(false));
    EXPECT_EQ(ReadFile(path),
              std::string(reinterpret_cast<const char*>(resource->data()), resource->size()));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"tavlo.cfg"}));
}

TEST_F(FirmwareImageSave, EmptyFileIsSavedEmpty) {
    const std::string path = LoadBytes(dir, image, "");
    WriteFile(path, "grown meanwhile");
    EXPECT_EQ(image.Save(true, IfFileChanged::Overwrite), SaveOutcome::Saved);
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), "grown meanwhile");
}

TEST_F(FirmwareImageSave, BackupNameThatIsAFolderStopsTheSave) {
    const std::string path = LoadAndPatch();
    fs::create_directory(dir.Path() / "firmware.bak");
    WriteFile(dir.File("firmware.bak/inside"), "x");
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(Outcome(false, image),
              "false|Could not make the backup '" + dir.File("firmware.bak") + "': Is a directory");
    EXPECT_EQ(ReadFile(path), kOriginal);
    EXPECT_EQ(ReadFile(dir.File("firmware.bak/inside")), "x");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

TEST_F(FirmwareImageSave, FolderGoneFromDiskShowsOpenForWriteFailed) {
    fs::create_directory(dir.Path() / "sub");
    const std::string path = LoadAndPatch("sub/firmware.rgn");
    fs::remove_all(dir.Path() / "sub");
    EXPECT_FALSE(image.Save(true));
    EXPECT_EQ(Outcome(false, image), "false|open|" + image.LastError());
    EXPECT_NE(image.LastError().find("No such file or directory"), std::string::npos)
        << image.LastError();
    EXPECT_TRUE(Names(dir.Path()).empty());
}

TEST_F(FirmwareImageSave, FileReplacedByAFolderIsLeftAlone) {
    const std::string path = LoadAndPatch();
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_FALSE(image.Save(false));
    EXPECT_EQ(Outcome(false, image), "false|Could not write '" + path + "': Is a directory");
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.rgn"}));
}

TEST_F(FirmwareImageSave, ReadOnlyFolderLeavesTheFileUntouched) {
    fs::permissions(dir.Path(), fs::perms::all);
    fs::create_directory(dir.Path() / "ro");
    const std::string path = LoadAndPatch("ro/firmware.rgn");
    WriteFile(dir.File("ro/firmware.bak"), "older backup");
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.File("ro/firmware.bak").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.File("ro").c_str(), 0555), 0);
    // The administrator may write anywhere; the check runs as an ordinary user.
    const auto seen = test::RunInChild(
        [&] {
            FirmwareImage childImage;
            if (!childImage.Load(path)) {
                return "cannot load: " + childImage.LastError();
            }
            std::string text = Outcome(childImage.Save(true), childImage);
            text += "/" + Outcome(childImage.Save(false), childImage);
            return text + "/" + childImage.LastError();
        },
        /*unprivileged=*/true);
    if (!seen) {
        GTEST_SKIP() << "cannot run as an ordinary user";
    }
    const std::string cause =
        "Could not create a temporary file beside '" + path + "': Permission denied";
    const std::string shown = "false|open|" + cause;
    EXPECT_EQ(*seen, shown + "/" + shown + "/" + cause);
    EXPECT_EQ(ReadFile(path), kOriginal);
    EXPECT_EQ(ReadFile(dir.File("ro/firmware.bak")), "older backup");
    EXPECT_EQ(Names(dir.Path() / "ro"), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

TEST_F(FirmwareImageSave, ReadOnlyFileIsNotReplaced) {
    fs::permissions(dir.Path(), fs::perms::all);
    const std::string path = LoadAndPatch();
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const auto seen = test::RunInChild(
        [&] {
            FirmwareImage childImage;
            if (!childImage.Load(path)) {
                return "cannot load: " + childImage.LastError();
            }
            return Outcome(childImage.Save(false), childImage) + "/" + childImage.LastError();
        },
        /*unprivileged=*/true);
    if (!seen) {
        GTEST_SKIP() << "cannot run as an ordinary user";
    }
    const std::string cause = "Could not write '" + path + "': Permission denied";
    EXPECT_EQ(*seen, "false|open|" + cause + "/" + cause);
    EXPECT_EQ(ReadFile(path), kOriginal);
    EXPECT_EQ(Mode(path), 0444u);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.rgn"}));
}

TEST_F(FirmwareImageSave, FileSizeLimitLeavesTheFileAndBackupIntact) {
    // A firmware file larger than the limit the child may write.
    std::string original(256 * 1024, 'x');
    original.replace(1000, 16, "WARNING: keep it");
    original[1016] = '\0';
    const std::string path = LoadBytes(dir, image, original);
    WriteFile(dir.File("firmware.bak"), "older backup");
    const auto seen = test::RunInChild([&] {
        FirmwareImage childImage;
        if (!childImage.Load(path) || !childImage.LocateMessage("WARNING")) {
            return "cannot load: " + childImage.LastError();
        }
        childImage.ReplaceMessage("Owner");
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return std::string("cannot limit the file size");
        }
        std::string text = Outcome(childImage.Save(true), childImage);
        return text + "/" + Outcome(childImage.Save(false), childImage);
    });
    ASSERT_TRUE(seen);
    const std::string failure = "false|Could not write '" + path + "': File too large";
    EXPECT_EQ(*seen, failure + "/" + failure);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), "older backup");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

}  // namespace
}  // namespace tavlo
