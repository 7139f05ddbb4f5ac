#include "core/message_scanner.h"
#include "core/file_system.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "support/image_files.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;
// offset, message length, the message's head
using Matches = std::vector<std::tuple<std::uint32_t, std::uint32_t, std::string>>;

// How much of each message the tests look at: long messages are cut, short ones are whole.
constexpr std::size_t kHeadLimit = 1000;

// What the loaded image's Find Next loop visits: the reference for the scanner.
Matches FindNextLoop(const std::string& path, std::string_view text) {
    FirmwareImage image;
    EXPECT_TRUE(image.Load(path)) << image.LastError();
    Matches matches;
    image.ResetSearch();
    while (image.LocateMessage(text)) {
        const auto* message = reinterpret_cast<const char*>(image.Data() + image.MatchOffset());
        const std::uint32_t length = image.MessageLength();
        matches.emplace_back(image.MatchOffset(), length,
                             std::string(message, std::min<std::size_t>(length, kHeadLimit)));
    }
    return matches;
}

Matches Scan(const std::string& path, std::string_view text) {
    MessageScanner scanner;
    Matches matches;
    EXPECT_TRUE(
        scanner.Scan(path, text, kHeadLimit,
                     [&](std::uint32_t offset, std::uint32_t length, std::string_view head) {
                         matches.emplace_back(offset, length, std::string(head));
                     }))
        << scanner.LastError();
    return matches;
}

std::string Repeat(std::string_view text, std::size_t times) {
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

// `times` runs of `filler` bytes (no zero byte among them), each followed by "WARNING".
std::string WarningEvery(std::size_t filler, std::size_t times) {
    return Repeat(std::string(filler, 'z') + "WARNING", times);
}

class MessageScannerTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        const std::string path = dir.File("image.rgn");
        WriteFile(path, bytes);
        return path;
    }
    TempDir dir;
};

TEST_F(MessageScannerTest, VisitsWhatFindNextVisits) {
    constexpr std::size_t kPiece = 128 << 10;  // the scanner's read size
    const struct {
        const char* rule;
        std::string bytes;
        std::vector<const char*> texts;
    } rows[] = {
        {"small image: prefixes, overlaps, several strings, no zero byte at the end",
         "xxWARNING a\nb\0WARNING x WARNING y\0AAA\0\xD3WARN\0tail WARNING"s,
         {"WARNING", "AA", "A", "WARN", "\xD3", "tail WARNING", "nothing"}},
        {"a zero-free run over four pieces, a match every 1,000 bytes, to the file's end",
         WarningEvery(993, 4 * kPiece / 1000),
         {"WARNING", "zW", "NING"}},
        {"WARNING repeated without a zero byte, across a piece boundary",
         std::string(kPiece - 3000, 'z') + Repeat("WARNING", 1000) + "\0tail"s,
         {"WARNING", "W", "GWARNINGW"}},
        {"WARNING and a zero byte repeated, across a piece boundary",
         Repeat("WARNING\0"s, kPiece / 8 + 1000),
         {"WARNING", "ING", "G"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        const std::string path = Write(row.bytes);
        for (const char* text : row.texts) {
            EXPECT_EQ(Scan(path, text), FindNextLoop(path, text)) << text;
        }
    }
    EXPECT_EQ(Scan(Write(rows[0].bytes), "AA"), (Matches{{34, 3, "AAA"}, {35, 2, "AA"}}));
}

TEST_F(MessageScannerTest, ATextAtTheVeryEndIsNotAMatch) {
    const std::string path = Write("\0WARNING\0WARNING"s);
    EXPECT_EQ(Scan(path, "WARNING"), (Matches{{1, 7, "WARNING"}}));
}

TEST_F(MessageScannerTest, MatchesAndMessagesAcrossPieceBoundaries) {
    // Matches straddling piece boundaries (pieces divide 1 MiB), a message without a zero byte that
    // runs through a whole piece, and the file's last bytes forming a message without a zero byte.
    std::string bytes(3u << 20, 'z');
    for (std::size_t at : {(1u << 20) - 3, (2u << 20) - 7, (2u << 20) + 100}) {
        bytes.replace(at, 7, "WARNING");
    }
    bytes[(1u << 20) + 40] = '\0';
    bytes[(3u << 20) - 20] = '\0';
    bytes.replace((3u << 20) - 12, 7, "WARNING");
    const std::string path = Write(bytes);
    const Matches scanned = Scan(path, "WARNING");
    EXPECT_EQ(scanned, FindNextLoop(path, "WARNING"));
    ASSERT_EQ(scanned.size(), 4u);
    EXPECT_EQ(std::get<1>(scanned[1]), (3u << 20) - 20 - ((2u << 20) - 7));
}

TEST_F(MessageScannerTest, AgreesWithFindNextOnRandomImages) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        // Few letters and frequent zero bytes make many matches, overlaps and short strings.
        const std::size_t size = round < 30 ? 1 + random() % 300 : (1u << 20) + random() % 5000;
        std::string bytes(size, '\0');
        for (char& c : bytes) {
            const unsigned r = random() % 8;
            c = r == 0 ? '\0' : static_cast<char>('A' + r % 3);
        }
        const std::string path = Write(bytes);
        for (const char* text : {"A", "AB", "ABA", "CCC", "ABCAB"}) {
            ASSERT_EQ(Scan(path, text), FindNextLoop(path, text)) << round << " " << text;
        }
    }
}

TEST_F(MessageScannerTest, AFileThatCannotBeReadIsAnError) {
    MessageScanner scanner;
    const auto never = [](std::uint32_t, std::uint32_t, std::string_view) {
        ADD_FAILURE() << "visited";
    };
    EXPECT_FALSE(scanner.Scan(dir.File("missing.rgn"), "WARNING", kHeadLimit, never));
    // The system's own words: "No such file or directory" on Linux, Windows' on Windows.
    EXPECT_EQ(scanner.LastError(), sys::ErrorOf(sys::FileError::Kind::NotFound).text);
    EXPECT_FALSE(scanner.Scan(dir.Path().string(), "WARNING", kHeadLimit, never));
    EXPECT_FALSE(scanner.LastError().empty());
}

}  // namespace
}  // namespace tavlo::test
