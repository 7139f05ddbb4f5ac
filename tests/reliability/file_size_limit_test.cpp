// Saving under a file-size limit (ulimit -f) smaller than the image: the save fails with a
// message, and the file, its backup and the folder stay as they were.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "fault_fixture.h"
#include "support/child_process.h"
#include "support/cli_test_support.h"
#include "workflow/save_failure_message.h"

namespace tavlo::test {
namespace {

constexpr std::size_t kImageSize = 256 * 1024;
constexpr rlim_t kLimit = 64 * 1024;

// "true", or "false|" and the message the window shows, as one line to compare.
std::string SaveUnderLimit(const std::string& file, bool makeBackup) {
    FirmwareImage image;
    if (!image.Load(file) || !image.LocateMessage(kSearchText)) {
        return "cannot load " + file;
    }
    image.ReplaceMessage(kOwnerText);
    // Ignored, SIGXFSZ no longer ends the process: the write fails with EFBIG instead.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLimit, kLimit};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return "cannot set the file-size limit";
    }
    return image.Save(makeBackup) ? "true" : "false|" + SaveFailureText(image.LastFailure());
}

class FileSizeLimit : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(file, original); }

    TempDir dir;
    const std::string file = dir.File("firmware.rgn");
    const std::string backup = dir.File("firmware.bak");
    const std::string original = FirmwareBytes(kImageSize);
};

TEST_F(FileSizeLimit, SaveFailsAndKeepsTheFileAndTheOldBackup) {
    const std::string oldBackup = FirmwareBytes(1000, 10);
    WriteFile(backup, oldBackup);
    EXPECT_EQ(RunInChild([&] { return SaveUnderLimit(file, true); }),
              "false|Could not write '" + file + "': File too large");
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(ReadFile(backup), oldBackup);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"firmware.bak", "firmware.rgn"}));
}

TEST_F(FileSizeLimit, SaveWithoutBackupKeepsTheFile) {
    EXPECT_EQ(RunInChild([&] { return SaveUnderLimit(file, false); }),
              "false|Could not write '" + file + "': File too large");
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(FileSizeLimit, ImageWithinTheLimitIsSaved) {
    const std::string small = FirmwareBytes(kLimit / 2);
    WriteFile(file, small);
    EXPECT_EQ(RunInChild([&] { return SaveUnderLimit(file, true); }), "true");
    EXPECT_EQ(ReadFile(file), PatchedBytes(small));
    EXPECT_EQ(ReadFile(backup), small);
}

// Started under "ulimit -f" by a shell, tavlo-cli must still say what went wrong rather than be
// ended by SIGXFSZ halfway through writing.
TEST_F(FileSizeLimit, CliSaysWhyAndExitsWithAFileError) {
    const ProcessResult result =
        RunProcess("/bin/sh", {"-c", "ulimit -f 128 && exec \"$0\" \"$@\"", TAVLO_CLI_PATH, "patch",
                               file, "--search", "WARNING", "--text", "x"});
    EXPECT_EQ(result.exitCode, 3) << "-1: ended by a signal";
    EXPECT_NE(result.err.find("Could not write '" + file + "': File too large"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"firmware.rgn"});
}

}  // namespace
}  // namespace tavlo::test
