#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/cli_test_support.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

// A small image: a header, a first message, a string with two messages, junk, a last string.
const std::string kImage = "KpGr\x64\0"s + "\x01\x02"s + "xxWARNING one\nline\0"s + "ab\0"s +
                           "WARNING\ttwo\\WARNING three\x01\xD3\0"s + "tail\0zz"s;
// Offsets of the three matches.
constexpr int kFirst = 10;
constexpr int kSecond = 30;
constexpr int kThird = 42;

class CliFindPatch : public ::testing::Test {
protected:
    void SetUp() override {
        firmware = dir.File("unit.rgn");
        WriteFile(firmware, kImage);
        settings = dir.File("owner.cfg");
        WriteFile(settings, SettingsText({"[Patch]", "L1 = Ann", "L2 = 555", "L3 = ''",
                                          "L4 =", "L5 =", "L6 =", "L7 ="}));
    }
    TempDir dir;
    std::string firmware;
    std::string settings;
};

TEST_F(CliFindPatch, FindListsEveryMatchInFindNextOrderEscaped) {
    const ProcessResult r = RunCli({"find", firmware, "--search", "WARNING"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "10\t16\tWARNING one\\nline\n"
              "30\t27\tWARNING\\ttwo\\\\WARNING three\\x01\xC3\x93\n"
              "42\t15\tWARNING three\\x01\xC3\x93\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliFindPatch, TextColumnShowsAtMostTheFirst1024BytesOfAMessage) {
    // 1,023 bytes; the byte after it is escaped, to show that the cut counts the message's bytes,
    // not the escaped text.
    const std::string body = "WARNING" + std::string(1016, 'x');
    const struct {
        const char* rule;
        std::string message;
        std::string after;  // what follows the message in the file
        std::string column;
    } rows[] = {
        {"1,023 bytes are shown whole", body, "\0tail"s, body},
        {"1,024 bytes are shown whole", body + "\t", "\0tail"s, body + "\\t"},
        {"1,025 bytes: the first 1,024, then ...", body + "\ty", "\0tail"s, body + "\\t..."},
        {"a message without a zero byte after it, to the end of a large file",
         body + "\t" + std::string(300000, 'y'), "", body + "\\t..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        WriteFile(firmware, "ab\0"s + row.message + row.after);
        const ProcessResult r = RunCli({"find", firmware, "--search", "WARNING"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "3\t" + std::to_string(row.message.size()) + "\t" + row.column + "\n");
    }
}

TEST_F(CliFindPatch, FindListsAMatchBeyond2GiB) {
    // 2 GiB and 1 MiB of zero bytes but for one message past the largest 32-bit signed offset;
    // the bytes not written are a hole of the file, which takes no room on the disk.
    constexpr std::streamoff kAt = (std::streamoff{1} << 31) + (1 << 16);
    {
        std::ofstream file(PathOf(firmware), std::ios::binary | std::ios::trunc);
        file.seekp(kAt);
        file.write("WARNING far out\0", 16);
        file.seekp(kAt + (1 << 20));
        file.put('\0');
        ASSERT_TRUE(file.good());
    }
    const ProcessResult r = RunCli({"find", firmware, "--search", "WARNING"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::to_string(kAt) + "\t15\tWARNING far out\n");
}

TEST_F(CliFindPatch, OptionsMayStandBeforeTheFileName) {
    const ProcessResult r = RunCli({"find", "--search", "three", firmware});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "50\t7\tthree\\x01\xC3\x93\n");
}

TEST_F(CliFindPatch, SearchTextIsConvertedToWindows1252) {
    const ProcessResult r = RunCli({"find", firmware, "--search", "three\x01\xC3\x93"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "50\t7\tthree\\x01\xC3\x93\n");
}

TEST_F(CliFindPatch, NoMatchIsExitOneWithTheMessage) {
    const ProcessResult r = RunCli({"find", firmware, "--search", "warning"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Search text not found"), std::string::npos) << r.err;
}

TEST_F(CliFindPatch, MissingFileIsExitThree) {
    const ProcessResult r = RunCli({"find", dir.File("none.rgn")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("none.rgn"), std::string::npos) << r.err;
}

TEST_F(CliFindPatch, UsageErrorsAreExitTwo) {
    EXPECT_EQ(RunCli({}).exitCode, 2);
    EXPECT_EQ(RunCli({"frobnicate", firmware}).exitCode, 2);
    EXPECT_EQ(RunCli({"find"}).exitCode, 2);
    EXPECT_EQ(RunCli({"find", firmware, "--no-backup"}).exitCode, 2);
    EXPECT_EQ(RunCli({"find", firmware, "--colour"}).exitCode, 2);
    EXPECT_EQ(RunCli({"find", firmware, "--search"}).exitCode, 2);
    EXPECT_EQ(RunCli({"patch", firmware, "--match", "0"}).exitCode, 2);
    EXPECT_EQ(RunCli({"patch", firmware, "--text", "a", "--text-file", settings}).exitCode, 2);
    EXPECT_EQ(RunCli({"find", firmware, "extra"}).exitCode, 2);
    EXPECT_EQ(RunCli({"find", firmware, "--search", ""}).exitCode, 2);
}

TEST_F(CliFindPatch, CharacterOutsideWindows1252IsAUsageErrorThatNamesIt) {
    const ProcessResult r = RunCli({"find", firmware, "--search", "WARN\xCE\xA9"});  // Omega
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("\xCE\xA9"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("U+03A9"), std::string::npos) << r.err;
}

TEST_F(CliFindPatch, HelpPrintsUsage) {
    const ProcessResult r = RunCli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("find FILE [--search TEXT]"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST_F(CliFindPatch, PatchWritesOwnerTextFittedAndKeepsABackup) {
    const ProcessResult r = RunCli({"patch", firmware, "--settings", settings});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "match: 10 16\nold: WARNING one\\nline\nnew: Ann\\n555\\n\\n\\n\\n\\n\\n   \n"
              "backup: " +
                  dir.File("unit.bak") + "\n");
    std::string expected = kImage;
    expected.replace(kFirst, 16, "Ann\n555\n\n\n\n\n\n   ");
    EXPECT_EQ(ReadFile(firmware), expected);
    EXPECT_EQ(ReadFile(dir.File("unit.bak")), kImage);
}

TEST_F(CliFindPatch, PatchTheSecondMatchWithATextThatIsCut) {
    const ProcessResult r =
        RunCli({"--text", "Lost? Call 555-0100 now please, thank you", "patch", firmware, "--match",
                "2", "--no-backup", "--settings", settings});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 15), "match: 30 27\nol");
    EXPECT_NE(r.err.find("14 bytes longer than the message"), std::string::npos) << r.err;
    std::string expected = kImage;
    expected.replace(kSecond, 27, "Lost? Call 555-0100 now ple");
    EXPECT_EQ(ReadFile(firmware), expected);
    EXPECT_FALSE(FileExists(dir.File("unit.bak")));
}

TEST_F(CliFindPatch, TextFileIsTakenByteForByte) {
    const std::string textFile = dir.File("text.bin");
    WriteFile(textFile, "A\r\n\xD3\x01"s);
    const ProcessResult r = RunCli(
        {"patch", firmware, "--match", "3", "--text-file", textFile, "--settings", settings});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "match: 42 15\nold: WARNING three\\x01\xC3\x93\nnew: A\\r\\n\xC3\x93\\x01"
              "          \nbackup: " +
                  dir.File("unit.bak") + "\n");
    std::string expected = kImage;
    expected.replace(kThird, 15, "A\r\n\xD3\x01          "s);
    EXPECT_EQ(ReadFile(firmware), expected);
}

// Notepad's "Unicode" files are UTF-16 after a byte-order mark; bytes the receiver does not show
// as text are written as they stand, with a warning.
TEST_F(CliFindPatch, TextFileInUtf16AndBytesTheReceiverDoesNotShow) {
    const struct {
        const char* rule;
        std::string file;
        std::string written;  // the start of the first message afterwards
        const char* warning;  // none: nothing is said
    } rows[] = {
        // (octal escapes: a hex escape would swallow the letters after it)
        {"UTF-16 little-endian", "\377\376A\0n\0n\0"s, "Ann", nullptr},
        {"UTF-16 big-endian", "\376\377\0A\0n\0n"s, "Ann", nullptr},
        {"UTF-16 with a Windows line end", "\377\376\304\0\r\0\n\0"s, "\304\r\n",
         "1 control byte(s), the first \\r (byte 2)"},
        {"a zero byte", "Ann\0"s + "555", "Ann\0"s + "555", "a zero byte (byte 4 of 16)"},
    };
    const std::string textFile = dir.File("text.txt");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        WriteFile(firmware, kImage);
        WriteFile(textFile, row.file);
        const ProcessResult r = RunCli({"patch", firmware, "--text-file", textFile, "--no-backup"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::string expected = kImage;
        expected.replace(kFirst, 16, row.written + std::string(16 - row.written.size(), ' '));
        EXPECT_EQ(ReadFile(firmware), expected);
        if (row.warning) {
            EXPECT_NE(r.err.find(row.warning), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err, "");
        }
    }
}

TEST_F(CliFindPatch, DryRunPrintsTheSameAndWritesNothing) {
    const ProcessResult dry = RunCli({"patch", firmware, "--dry-run", "--settings", settings});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(ReadFile(firmware), kImage);
    EXPECT_FALSE(FileExists(dir.File("unit.bak")));
    const ProcessResult real = RunCli({"patch", firmware, "--settings", settings});
    EXPECT_EQ(dry.out + "backup: " + dir.File("unit.bak") + "\n", real.out);
}

TEST_F(CliFindPatch, PatchBeyondTheLastMatchChangesNothing) {
    const ProcessResult r = RunCli({"patch", firmware, "--match", "4", "--settings", settings});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("--match 4 is past the last match: 'WARNING' has 3 matches"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(ReadFile(firmware), kImage);
    EXPECT_FALSE(FileExists(dir.File("unit.bak")));
}

TEST_F(CliFindPatch, PatchAtOffsetZero) {
    const ProcessResult r = RunCli({"patch", firmware, "--search", "KpGr", "--text", "Mine",
                                    "--no-backup", "--settings", settings});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 12), "match: 0 5\no");
    EXPECT_EQ(ReadFile(firmware).substr(0, 6), "Mine \0"s);
}

TEST_F(CliFindPatch, FileNamedLikeItsBackupIsExitThreeUnlessThereIsNoBackup) {
    const std::string named = dir.File("unit.bak");
    WriteFile(named, kImage);
    const ProcessResult r = RunCli({"patch", named, "--settings", settings});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("the backup would replace the file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("rename the file"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(named), kImage);
    const ProcessResult noBackup = RunCli({"patch", named, "--no-backup", "--settings", settings});
    EXPECT_EQ(noBackup.exitCode, 0) << noBackup.err;
    EXPECT_NE(ReadFile(named), kImage);
}

#ifndef _WIN32  // a folder's permission bits are Linux's
TEST_F(CliFindPatch, UnwritableFolderIsExitThreeAndTheFileIsIntact) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores permission bits";
    }
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const ProcessResult r = RunCli({"patch", firmware, "--settings", settings});
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(ReadFile(firmware), kImage);
}
#endif

}  // namespace
}  // namespace tavlo::test
