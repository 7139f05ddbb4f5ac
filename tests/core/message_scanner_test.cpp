#include "core/message_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/image_files.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;
using Matches = std::vector<std::pair<std::uint32_t, std::string>>;

// What the loaded image's Find Next loop visits: the reference for the scanner.
Matches FindNextLoop(const std::string& path, std::string_view text) {
    FirmwareImage image;
    EXPECT_TRUE(image.Load(path)) << image.LastError();
    Matches matches;
    image.ResetSearch();
    while (image.LocateMessage(text)) {
        const auto* message = reinterpret_cast<const char*>(image.Data() + image.MatchOffset());
        matches.emplace_back(image.MatchOffset(), std::string(message, image.MessageLength()));
    }
    return matches;
}

Matches Scan(const std::string& path, std::string_view text) {
    MessageScanner scanner;
    Matches matches;
    EXPECT_TRUE(scanner.Scan(path, text, [&](std::uint32_t offset, std::string_view message) {
        matches.emplace_back(offset, std::string(message));
    })) << scanner.LastError();
    return matches;
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

TEST_F(MessageScannerTest, VisitsWhatFindNextVisitsInSmallImages) {
    const std::string path =
        Write("xxWARNING a\nb\0WARNING x WARNING y\0AAA\0\xD3WARN\0tail WARNING"s);
    for (const char* text : {"WARNING", "AA", "A", "WARN", "\xD3", "tail WARNING", "nothing"}) {
        EXPECT_EQ(Scan(path, text), FindNextLoop(path, text)) << text;
    }
    EXPECT_EQ(Scan(path, "AA"), (Matches{{34, "AAA"}, {35, "AA"}}));
}

TEST_F(MessageScannerTest, ATextAtTheVeryEndIsNotAMatch) {
    const std::string path = Write("\0WARNING\0WARNING"s);
    EXPECT_EQ(Scan(path, "WARNING"), (Matches{{1, "WARNING"}}));
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
    EXPECT_EQ(scanned[1].second.size(), (3u << 20) - 20 - ((2u << 20) - 7));
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
    const auto never = [](std::uint32_t, std::string_view) { ADD_FAILURE() << "visited"; };
    EXPECT_FALSE(scanner.Scan(dir.File("missing.rgn"), "WARNING", never));
    EXPECT_EQ(scanner.LastError(), "No such file or directory");
    EXPECT_FALSE(scanner.Scan(dir.Path().string(), "WARNING", never));
    EXPECT_FALSE(scanner.LastError().empty());
}

}  // namespace
}  // namespace tavlo::test
