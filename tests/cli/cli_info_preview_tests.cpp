#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_test_support.h"
#include "support/png_reader.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

// A glyph table for codes 32-255 whose first four entries are the receiver's signature; every
// other glyph is 4 columns of 11 lit pixels.
std::string GlyphTable() {
    std::string table;
    std::string columns;
    for (int code = 32; code < 256; ++code) {
        const int width = code == 32 ? 3 : code == 33 ? 2 : code == 34 ? 5 : code == 35 ? 7 : 4;
        const std::size_t offset = columns.size();
        table += static_cast<char>(offset & 0xFF);
        table += static_cast<char>(offset >> 8);
        table += '\0';
        table += static_cast<char>(width);
        for (int g = 0; g < width; ++g) {
            columns += code == 32 ? "\0\0"s : "\xFF\x07"s;
        }
    }
    return table + columns;
}

std::string Record(char type, const std::string& payload) {
    const auto size = static_cast<std::uint32_t>(payload.size());
    std::string record;
    for (int i = 0; i < 4; ++i) {
        record += static_cast<char>((size >> (8 * i)) & 0xFF);
    }
    return record + type + payload;
}

class CliInfoPreview : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string region = "\0WARNING hi\0WARNUNG\0WARNING\0\0"s;
        image = "KpGr\x64\0"s + Record('D', "v1\0"s) + Record('R', region) +
                Record('A', "\0"s + GlyphTable() + "\0"s);
        fontOffset = image.find("\0\0\0\x03\x06\0\0\x02"s);
        firmware = dir.File("unit.rgn");
        WriteFile(firmware, image);
    }
    TempDir dir;
    std::string image;
    std::size_t fontOffset = 0;
    std::string firmware;
};

TEST_F(CliInfoPreview, InfoShowsSizeFontRecordsAndWords) {
    const ProcessResult r = RunCli({"info", firmware});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::size_t regionSize = 29;
    const std::size_t appOffset = 6 + 8 + 5 + regionSize;
    EXPECT_EQ(r.out, "size: " + std::to_string(image.size()) +
                         "\n"
                         "font: " +
                         std::to_string(fontOffset) +
                         "\n"
                         "container: KpGr version 100, 3 records\n"
                         "record: 6 D 3\n"
                         "record: 14 R 29\n"
                         "record: " +
                         std::to_string(appOffset) + " A " +
                         std::to_string(image.size() - appOffset - 5) +
                         "\n"
                         "word: ATENCI\xC3\x93N 0\n"
                         "word: ATTENTION 0\n"
                         "word: ATTENZIONE 0\n"
                         "word: WARNING 2 first at 20\n"
                         "word: WARNUNG 1 first at 31\n");
}

TEST_F(CliInfoPreview, InfoOnAFileWithoutContainerOrFont) {
    WriteFile(firmware, "KpG\0ATTENTION\0\0"s);
    const ProcessResult r = RunCli({"info", firmware});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("font: not found\ncontainer: none (not a firmware update container)\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("word: ATTENTION 1 first at 4\n"), std::string::npos) << r.out;
}

TEST_F(CliInfoPreview, InfoReportsATruncatedRecord) {
    WriteFile(firmware, "KpGr\x64\0"s + Record('D', "abc") + "\xFF\0\0\0R"s);
    const ProcessResult r = RunCli({"info", firmware});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("record: 6 D 3\nrecord: 14 truncated\n"), std::string::npos) << r.out;
}

TEST_F(CliInfoPreview, PreviewWritesThePictureAtTheGivenMagnification) {
    const std::string png = dir.File("screen.png");
    const ProcessResult r =
        RunCli({"preview", firmware, "--mag", "3", "1", "--out", png, "--text", "hi"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "font: " + std::to_string(fontOffset) + "\n");
    EXPECT_EQ(r.err, "");
    const std::optional<RgbRaster> picture = ReadPng(png);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 360);
    EXPECT_EQ(picture->height, 133);
    EXPECT_FALSE(HasColour(*picture, kTextTooLong));
}

TEST_F(CliInfoPreview, PreviewDrawsRedWhenTheTextIsLongerThanTheMessage) {
    const std::string png = dir.File("screen.png");
    // The first match's message "WARNING hi" holds 10 bytes; 11 are too many.
    const ProcessResult r = RunCli({"preview", firmware, "--out", png, "--text", "12345678901"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::optional<RgbRaster> picture = ReadPng(png);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 240);
    EXPECT_EQ(picture->height, 266);
    EXPECT_TRUE(HasColour(*picture, kTextTooLong));
}

TEST_F(CliInfoPreview, PreviewOfTheSecondMatchWithoutAFont) {
    WriteFile(firmware, "\0WARNING a\0WARNING bb\0\0"s);
    const std::string png = dir.File("screen.png");
    ProcessResult r = RunCli({"preview", firmware, "--match", "2", "--out", png});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "font: not found\n");
    EXPECT_NE(r.err.find("tavlo-cli: warning: '" + firmware + "' holds no receiver font"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(ReadPng(png));
    r = RunCli({"preview", firmware, "--match", "3", "--out", png});
    EXPECT_EQ(r.exitCode, 1);
}

// What the receiver will not show, and a text cut to the message, are said on standard error;
// a patch names its backup.
TEST_F(CliInfoPreview, PatchAndPreviewWarnOfWhatTheReceiverWillNotShow) {
    // A 48-byte message; every glyph but the space is 4 columns wide.
    WriteFile(firmware, "\0"s + GlyphTable() + "\0WARNING "s + std::string(40, 'x') + "\0"s);
    const struct {
        const char* rule;
        const char* command;
        std::string text;
        const char* warning;  // in the error output; none: it is empty
    } rows[] = {
        {"preview: lines below the screen", "preview", "1\n2\n3\n4\n5\n6\n7\n8\n9",
         "2 lines below the screen"},
        {"patch: a word wider than the screen", "patch", std::string(30, 'A'),
         "1 line cut at the right edge"},
        {"patch: a text cut to the message", "patch", std::string(30, 'y') + std::string(30, 'z'),
         "12 bytes longer than the message"},
        {"patch: a text that fits says nothing", "patch", "Ann", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        const std::string png = dir.File("screen.png");
        const ProcessResult r =
            std::string(row.command) == "preview"
                ? RunCli({"preview", firmware, "--text", row.text, "--out", png})
                : RunCli({"patch", firmware, "--text", row.text, "--dry-run"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        if (row.warning) {
            EXPECT_NE(r.err.find("tavlo-cli: warning: "), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(row.warning), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err, "");
        }
    }
    const ProcessResult saved = RunCli({"patch", firmware, "--text", "Ann"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_NE(saved.out.find("\nbackup: " + dir.File("unit.bak") + "\n"), std::string::npos)
        << saved.out;
    EXPECT_TRUE(FileExists(dir.File("unit.bak")));
}

// --mag takes one magnification for both ways or one for each; --version answers alone.
TEST_F(CliInfoPreview, MagTakesOneOrTwoValuesAndVersionAnswers) {
    const std::string png = dir.File("screen.png");
    const struct {
        std::vector<std::string> mag;
        int width;
        int height;
    } rows[] = {{{"3"}, 360, 399}, {{"3", "1"}, 360, 133}};
    for (const auto& row : rows) {
        std::vector<std::string> args = {"preview", firmware, "--mag"};
        args.insert(args.end(), row.mag.begin(), row.mag.end());
        args.insert(args.end(), {"--out", png});
        const ProcessResult r = RunCli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::optional<RgbRaster> picture = ReadPng(png);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->width, row.width);
        EXPECT_EQ(picture->height, row.height);
    }
    EXPECT_EQ(RunCli({"preview", firmware, "--mag", "0", "--out", png}).exitCode, 2);
    const ProcessResult version = RunCli({"--version"});
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out.rfind("tavlo-cli ", 0), 0u) << version.out;
    EXPECT_GT(version.out.size(), std::string("tavlo-cli \n").size());
}

TEST_F(CliInfoPreview, PreviewNeedsAnOutputFile) {
    EXPECT_EQ(RunCli({"preview", firmware}).exitCode, 2);
}

// The picture goes through the one safe save: never onto the firmware file or its backup, never
// into anything but a regular file (a pipe is not waited on), and a picture that is there is
// replaced whole.
struct OutRow {
    const char* rule;
    const char* out;  // in the test's folder
    bool makeFolder;  // a folder stands at the name
    bool makeLink;    // a symbolic link to the firmware file stands at the name
    bool makePipe;    // a named pipe stands at the name
    int exitCode;
    const char* said;  // part of what stderr says
};

TEST_F(CliInfoPreview, PreviewOutIsWrittenWholeAndNeverOverTheFirmware) {
    const OutRow rows[] = {
        {"the firmware file itself", "unit.rgn", false, false, false, 3, "the firmware file"},
        {"the firmware file's backup name", "unit.bak", false, false, false, 3, "backup"},
        {"a link to the firmware file", "link.png", false, true, false, 3, "the firmware file"},
        {"a folder", "pictures", true, false, false, 3, "cannot write"},
        {"a named pipe", "pipe.png", false, false, true, 3, "Not a regular file"},
        {"a picture that is there", "old.png", false, false, false, 0, ""},
    };
    WriteFile(dir.File("old.png"), "an older picture");
    for (const OutRow& row : rows) {
        SCOPED_TRACE(row.rule);
        const std::string out = dir.File(row.out);
#ifdef _WIN32
        if (row.makeLink || row.makePipe) {
            continue;  // Wine makes neither
        }
#else
        if (row.makePipe) {
            ASSERT_EQ(::mkfifo(out.c_str(), 0600), 0);
        }
#endif
        if (row.makeFolder) {
            std::filesystem::create_directory(PathOf(out));
        }
        if (row.makeLink) {
            std::filesystem::create_symlink(PathOf(firmware), PathOf(out));
        }
        const ProcessResult r = RunCli({"preview", firmware, "--out", out}, {}, 20);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err;
        EXPECT_NE(r.err.find(row.said), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(firmware), image);
        if (row.exitCode == 0) {
            EXPECT_EQ(ReadFile(out).rfind("\x89PNG", 0), 0u);
        }
    }
    std::vector<std::string> names = Names(dir.Path());
    std::erase_if(
        names, [](const std::string& name) { return name.find(".tavlo-") == std::string::npos; });
    EXPECT_TRUE(names.empty()) << names.front();
    EXPECT_FALSE(FileExists(dir.File("unit.bak")));
}

}  // namespace
}  // namespace tavlo::test
