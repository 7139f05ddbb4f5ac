// Firmware files of the kinds the search and font fuzzers' corpora are made of, reduced to
// readable cases: a font signature too near the end for its table, glyphs whose columns lie past
// the end or are wider than the screen, a search text as the file's last bytes, a message with
// no zero byte after it, an empty file, a replacement holding zero bytes. Each goes through the
// engine and through the real tavlo-cli, and so does every input of the search fuzzer's corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware_image.h"
#include "core/windows1252.h"
#include "fault_fixture.h"
#include "screen/screen_layout.h"
#include "support/cli_test_support.h"
#include "support/font_image.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

using namespace std::string_literals;

const std::string kSignature(reinterpret_cast<const char*>(DeviceFont::kSignature),
                             sizeof DeviceFont::kSignature);

// An input of the search fuzzer, split as the fuzz target's FuzzedDataProvider splits it.
struct SearchInput {
    std::string searchText;
    int findNextSteps = 0;
    std::string image;
};

// A text of at most maxLength bytes from the front: two backslashes stand for one, and a
// backslash followed by any other byte ends the text.
std::string ConsumeText(std::string_view& bytes, std::size_t maxLength) {
    std::string text;
    while (text.size() < maxLength && !bytes.empty()) {
        char next = bytes.front();
        bytes.remove_prefix(1);
        if (next == '\\' && !bytes.empty()) {
            next = bytes.front();
            bytes.remove_prefix(1);
            if (next != '\\') {
                break;
            }
        }
        text += next;
    }
    return text;
}

// The search text, the replacement text (unused here), the number of Find Next steps (0 to 8,
// from the last byte) and the image (the bytes in between).
SearchInput SplitSearchInput(std::string_view bytes) {
    SearchInput input;
    input.searchText = ConsumeText(bytes, 40);
    ConsumeText(bytes, 80);
    if (!bytes.empty()) {
        input.findNextSteps = static_cast<unsigned char>(bytes.back()) % 9;
        bytes.remove_suffix(1);
    }
    input.image = bytes;
    return input;
}

// "OFFSET LENGTH" of every match that the loaded image's Find Next loop visits.
std::vector<std::string> FindNextMatches(const std::string& path, std::string_view text) {
    FirmwareImage image;
    EXPECT_TRUE(image.Load(path)) << image.LastError();
    std::vector<std::string> matches;
    while (image.LocateMessage(text)) {
        matches.push_back(std::to_string(image.MatchOffset()) + " " +
                          std::to_string(image.MessageLength()));
    }
    return matches;
}

// "OFFSET LENGTH" of every line that tavlo-cli find printed.
std::vector<std::string> ListedMatches(const std::string& findOutput) {
    std::vector<std::string> matches;
    std::istringstream lines(findOutput);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t lengthEnd = line.find('\t', line.find('\t') + 1);
        matches.push_back(line.substr(0, lengthEnd));
        std::replace(matches.back().begin(), matches.back().end(), '\t', ' ');
    }
    return matches;
}

class FirmwareFuzzCases : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        WriteFile(file, bytes);
        return file;
    }

    TempDir dir;
    const std::string file = dir.File("firmware.rgn");
};

TEST_F(FirmwareFuzzCases, SignatureTooNearTheEndIsNoFont) {
    std::string bytes = "head\0WARNING: keep out\0"s + std::string(600, '\x11');
    bytes.replace(bytes.size() - kSignature.size() - 1, kSignature.size(), kSignature);
    const LoadedFont loaded(bytes);
    EXPECT_FALSE(loaded.located);
    EXPECT_EQ(loaded.font.Table(), nullptr);

    Write(bytes);
    const ProcessResult info = RunCli({"info", file});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("font: not found\n"), std::string::npos) << info.out;
    const std::string png = dir.File("screen.png");
    const ProcessResult preview = RunCli({"preview", file, "--text", "Hello", "--out", png});
    EXPECT_EQ(preview.exitCode, 0) << preview.err;
    EXPECT_GT(fs::file_size(png), 0u);
    EXPECT_EQ(ReadFile(file), bytes);
}

TEST_F(FirmwareFuzzCases, GlyphColumnsPastTheEndReadAsEmpty) {
    FontImageBuilder builder;
    builder.Bar('A', 3).Entry('W', 0xFFF0, 5);
    const std::string bytes = builder.Bytes() + "\0WARNING A\0"s;
    const LoadedFont loaded(bytes);
    ASSERT_TRUE(loaded.located);
    EXPECT_EQ(loaded.font.GlyphColumn('W', 0), 0);
    EXPECT_EQ(LayOutText(&loaded.font, "W").LitCount(), 0);
    EXPECT_EQ(LayOutText(&loaded.font, "WA").LitCount(), 3 * 11);

    Write(bytes);
    const ProcessResult preview =
        RunCli({"preview", file, "--text", "WAW", "--out", dir.File("screen.png")});
    EXPECT_EQ(preview.exitCode, 0) << preview.err;
    EXPECT_NE(preview.out.find("font: 0\n"), std::string::npos) << preview.out;
}

TEST_F(FirmwareFuzzCases, GlyphWiderThanTheScreenIsNeverDrawn) {
    FontImageBuilder builder;
    builder.Bar('A', 3).Entry('M', 0, 255);
    const LoadedFont loaded(builder.Bytes());
    ASSERT_TRUE(loaded.located);
    EXPECT_EQ(LayOutText(&loaded.font, "M").LitCount(), 0);
    // The next character starts past the right edge: nothing of it is drawn either.
    EXPECT_EQ(LayOutText(&loaded.font, "MA").LitCount(), 0);
    EXPECT_EQ(LayOutText(&loaded.font, "M\nA").LitCount(), 3 * 11);
}

TEST_F(FirmwareFuzzCases, SearchTextAsTheLastBytesIsNotFound) {
    const std::string bytes = "abc\0END"s;
    Write(bytes);
    EXPECT_EQ(RunCli({"find", file, "--search", "END"}).exitCode, 1);
    const ProcessResult patch = RunCli({"patch", file, "--search", "END", "--text", "x"});
    EXPECT_EQ(patch.exitCode, 1);
    EXPECT_NE(patch.err.find("Search text not found"), std::string::npos) << patch.err;
    EXPECT_EQ(ReadFile(file), bytes);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(FirmwareFuzzCases, MessageWithoutAZeroByteRunsToTheEnd) {
    Write("abcWdefgh");
    const ProcessResult patch =
        RunCli({"patch", file, "--search", "W", "--text", "longer than the message"});
    EXPECT_EQ(patch.exitCode, 0) << patch.err;
    EXPECT_EQ(ReadFile(file), "abclonger");
    EXPECT_EQ(ReadFile(dir.File("firmware.bak")), "abcWdefgh");
}

TEST_F(FirmwareFuzzCases, EmptyFileHasNothingToPatch) {
    Write("");
    const ProcessResult info = RunCli({"info", file});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("size: 0\n"), std::string::npos) << info.out;
    EXPECT_EQ(RunCli({"find", file, "--search", "WARNING"}).exitCode, 1);
    EXPECT_EQ(RunCli({"patch", file, "--search", "WARNING", "--text", "x"}).exitCode, 1);
    EXPECT_EQ(ReadFile(file), "");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"firmware.rgn"});
}

TEST_F(FirmwareFuzzCases, ReplacementWithZeroBytesIsWrittenAsItStands) {
    const std::string bytes = "x\0WARNING: abcdef\0tail"s;
    Write(bytes);
    const std::string textFile = dir.File("text.bin");
    WriteFile(textFile, "a\0b"s);
    const ProcessResult patch =
        RunCli({"patch", file, "--search", "WARNING", "--text-file", textFile});
    EXPECT_EQ(patch.exitCode, 0) << patch.err;
    // "WARNING: abcdef" is 15 bytes: the 3 bytes of the text and 12 spaces.
    EXPECT_EQ(ReadFile(file), "x\0a\0b"s + std::string(12, ' ') + "\0tail"s);
}

TEST_F(FirmwareFuzzCases, SearchCorpusInputsThroughTavloCli) {
    int inputs = 0;
    for (const auto& entry : fs::directory_iterator(TAVLO_SEARCH_CORPUS)) {
        SCOPED_TRACE(entry.path().filename().string());
        const SearchInput input = SplitSearchInput(ReadFile(entry.path().string()));
        const std::string text = input.searchText.substr(0, input.searchText.find('\0'));
        if (text.empty()) {
            continue;  // the command line refuses an empty search text
        }
        ++inputs;
        Write(input.image);
        const std::vector<std::string> expected = FindNextMatches(file, text);
        const std::string search = Windows1252ToUtf8(text);

        const ProcessResult find = RunCli({"find", file, "--search", search});
        EXPECT_EQ(find.exitCode, expected.empty() ? 1 : 0) << find.err;
        EXPECT_EQ(ListedMatches(find.out), expected);

        const std::size_t n = static_cast<std::size_t>(input.findNextSteps) + 1;
        const ProcessResult patch = RunCli({"patch", file, "--search", search, "--match",
                                            std::to_string(n), "--text", "x", "--dry-run"});
        if (n <= expected.size()) {
            EXPECT_EQ(patch.exitCode, 0) << patch.err;
            EXPECT_EQ(patch.out.substr(0, patch.out.find('\n')), "match: " + expected[n - 1]);
        } else {
            EXPECT_EQ(patch.exitCode, 1) << patch.err;
        }

        const ProcessResult info = RunCli({"info", file});
        EXPECT_EQ(info.exitCode, 0) << info.err;
        EXPECT_EQ(info.out.substr(0, info.out.find('\n')),
                  "size: " + std::to_string(input.image.size()));
        EXPECT_EQ(ReadFile(file), input.image);
    }
    EXPECT_GE(inputs, 10);
}

}  // namespace
}  // namespace tavlo::test
