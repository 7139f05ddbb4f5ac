// What tavlo-cli takes from outside besides the firmware: settings and text files of any kind
// and encoding, and firmware texts that would steer the terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "core/firmware_image.h"
#include "core/text_file.h"
#include "core/windows1252.h"
#include "support/cli_test_support.h"
#include "support/png_reader.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

class CliInputs : public ::testing::Test {
protected:
    std::string Settings(const std::string& bytes) {
        WriteFile(dir.File("s.cfg"), bytes);
        return dir.File("s.cfg");
    }
    TempDir dir;
    const std::string firmware = [this] {
        WriteFile(dir.File("f.rgn"), "\0WARNING one\0ATENCI\xD3N two\0\0"s);
        return dir.File("f.rgn");
    }();
};

// Bytes a terminal would act on are shown as \xHH by every command that prints a text.
TEST_F(CliInputs, ControlCharactersAreEscapedByEveryCommandThatPrintsText) {
    for (const unsigned char byte : {0x1B, 0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        SCOPED_TRACE(escape);
        const std::string text = "WARNING <"s + static_cast<char>(byte) + ">";
        WriteFile(firmware, "\0"s + text + "\0\0"s);
        const std::string settings = Settings("[Patch]\nL1 = " + text + "\n");
        for (const auto& args : {std::vector<std::string>{"find", firmware},
                                 {"patch", firmware, "--dry-run", "--settings", settings},
                                 {"settings", "--settings", settings}}) {
            const ProcessResult r = RunCli(args);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_NE(r.out.find("<"s + escape + ">"), std::string::npos) << r.out;
            // Neither the byte nor the character it stands for reaches the terminal.
            EXPECT_EQ(r.out.find(static_cast<char>(byte)), std::string::npos) << r.out;
            EXPECT_EQ(r.out.find(Windows1252ToUtf8(std::string(1, static_cast<char>(byte)))),
                      std::string::npos);
        }
    }
}

// Settings and text files must be regular files of at most 1 MiB; nothing else is waited for
// or read, and each is a message and exit 3.
TEST_F(CliInputs, SettingsAndTextFilesThatAreNoSmallRegularFilesAreRefused) {
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    WriteFile(dir.File("big"), std::string(kMaxTextFileSize + 1, 'x'));
    struct Row {
        const char* rule;
        std::string path;
    };
    for (const Row& row : {Row{"endless zeros", "/dev/zero"}, Row{"pipe without writer", "fifo"},
                           Row{"endless random bytes", "/dev/urandom"}, Row{"folder", "."},
                           Row{"over 1 MiB", "big"}}) {
        SCOPED_TRACE(row.rule);
        const std::string path = row.path.starts_with('/') ? row.path : dir.File(row.path);
        for (const auto& args : {std::vector<std::string>{"settings", "--settings", path},
                                 {"info", firmware, "--settings", path},
                                 {"patch", firmware, "--dry-run", "--text-file", path}}) {
            const ProcessResult r = RunCli(args, {}, 20);
            EXPECT_EQ(r.exitCode, 3) << r.err;
            EXPECT_NE(r.err.find(path + "': "), std::string::npos) << r.err;
        }
    }
    // The desktop program's own settings file is held to the same rule; a missing one is not.
    const std::string cli = CopyCliInto(dir);
    ASSERT_EQ(::mkfifo(dir.File("tavlo.cfg").c_str(), 0600), 0);
    EXPECT_EQ(RunProcess(cli, {"settings"}, {}, 20).exitCode, 3);
    std::remove(dir.File("tavlo.cfg").c_str());
    EXPECT_EQ(RunProcess(cli, {"settings"}, {}, 20).out.substr(0, 11), "file: none\n");
}

// A settings or text file saved as UTF-8 (with or without a byte-order mark) means what the
// same text saved as Windows-1252 means.
TEST_F(CliInputs, Utf8AndWindows1252FilesReadAlike) {
    const std::string search = "ATENCI\xD3N", owner = "Zo\xEB \x80 5";
    struct Row {
        const char* rule;
        std::string (*encode)(std::string_view);
    };
    for (const Row& row : {Row{"Windows-1252", [](std::string_view t) { return std::string(t); }},
                           Row{"UTF-8", [](std::string_view t) { return Windows1252ToUtf8(t); }},
                           Row{"UTF-8 with BOM", [](std::string_view t) {
                                   return "\xEF\xBB\xBF" + Windows1252ToUtf8(t);
                               }}}) {
        SCOPED_TRACE(row.rule);
        const std::string settings =
            Settings(row.encode("[Patch]\nSearchString = " + search + "\n"));
        WriteFile(dir.File("owner.txt"), row.encode(owner));
        const ProcessResult r = RunCli({"patch", firmware, "--dry-run", "--settings", settings,
                                        "--text-file", dir.File("owner.txt")});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "match: 13 12\nold: " + Windows1252ToUtf8(search + " two") +
                             "\nnew: " + Windows1252ToUtf8(FitToLength(owner, 12)) + "\n");
        EXPECT_EQ(r.err, "");
    }
    // A character the code page cannot hold is read as "?", and said so.
    const ProcessResult r =
        RunCli({"settings", "--settings", Settings("[Patch]\nL1 = \xC3\xAB\xE2\x98\x83\n")});
    EXPECT_NE(r.out.find("Patch/L1=\xC3\xAB?\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("U+2603"), std::string::npos) << r.err;
}

// The magnification of the settings is brought into 1 to 64, as --mag is.
TEST_F(CliInputs, PreviewMagnificationFromTheSettingsIsBounded) {
    const std::string settings = Settings("[Display]\nMagX = 2147483647\nMagY = 0\n");
    const ProcessResult r =
        RunCli({"preview", firmware, "--settings", settings, "--out", dir.File("p.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::optional<RgbRaster> picture = ReadPng(dir.File("p.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 120 * 64);
    EXPECT_EQ(picture->height, 133);
}

// Every command takes --settings, as the help says.
TEST_F(CliInputs, EveryCommandTakesSettings) {
    const std::string settings = Settings("[Patch]\nSearchString = WARNING\n");
    for (const auto& args : {std::vector<std::string>{"find", firmware},
                             {"patch", firmware, "--dry-run"},
                             {"preview", firmware, "--out", dir.File("p.png")},
                             {"info", firmware},
                             {"settings"}}) {
        SCOPED_TRACE(args[0]);
        std::vector<std::string> withSettings = args;
        withSettings.insert(withSettings.end(), {"--settings", settings});
        const ProcessResult r = RunCli(withSettings);
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
}

}  // namespace
}  // namespace tavlo::test
