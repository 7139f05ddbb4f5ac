#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "support/image_files.h"

namespace tavlo {
namespace {

using test::ImageBytes;
using test::LoadBytes;
using test::TempDir;

using namespace std::string_literals;

const std::uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

std::uint32_t Size(const std::string& s) {
    return static_cast<std::uint32_t>(s.size());
}

// ---- SearchBytes ----------------------------------------------------------------------------

TEST(SearchBytes, FindsTheFirstOccurrence) {
    const std::string data = "abcXYZdefXYZgh";
    const std::uint8_t* found = SearchBytes(Bytes(data), Size(data), Bytes("XYZ"s), 3);
    EXPECT_EQ(found, Bytes(data) + 3);
}

TEST(SearchBytes, NeedsOneByteOfTheRangeAfterTheMatch) {
    const std::string data = "abcdXYZ";
    EXPECT_EQ(SearchBytes(Bytes(data), Size(data), Bytes("XYZ"s), 3), nullptr);
    // One byte more and it counts.
    const std::string longer = "abcdXYZ!";
    EXPECT_EQ(SearchBytes(Bytes(longer), Size(longer), Bytes("XYZ"s), 3), Bytes(longer) + 4);
}

TEST(SearchBytes, PatternAsLongAsTheRangeOrLongerIsNotFound) {
    const std::string data = "XYZ";
    EXPECT_EQ(SearchBytes(Bytes(data), 3, Bytes(data), 3), nullptr);
    EXPECT_EQ(SearchBytes(Bytes(data), 2, Bytes(data), 3), nullptr);
    EXPECT_EQ(SearchBytes(Bytes(data), 0, Bytes(data), 1), nullptr);
}

TEST(SearchBytes, ComparesZeroBytesAndHighBytesExactly) {
    const std::string data = "\x01\x00\xFF\x00\xFF\x7F\x00"s;
    const std::string pattern = "\x00\xFF\x7F"s;
    EXPECT_EQ(SearchBytes(Bytes(data), Size(data), Bytes(pattern), 3), Bytes(data) + 3);
}

TEST(SearchBytes, ReadsNothingOutsideTheRange) {
    // The pattern continues right after the range: a search that read past it would match.
    const std::string data = "aaaXY" + "Z!"s;
    EXPECT_EQ(SearchBytes(Bytes(data), 5, Bytes("XYZ"s), 3), nullptr);
    EXPECT_EQ(SearchBytes(nullptr, 0, Bytes("X"s), 1), nullptr);
}

TEST(SearchBytes, RefusesANegativeOrMissingPattern) {
    const std::string data = "abcdef";
    EXPECT_EQ(SearchBytes(Bytes(data), Size(data), Bytes("a"s), -1), nullptr);
    EXPECT_EQ(SearchBytes(Bytes(data), Size(data), nullptr, 2), nullptr);
}

TEST(SearchBytes, FindsWhatAPlainSearchFindsForEveryKindOfPattern) {
    // Periodic patterns (a unit repeated, then a tail) and random ones over two or three
    // letters, in texts built from the same letters, so the search's shifts and its memory of
    // matched bytes are all taken.
    std::uint32_t state = 20250101;
    auto next = [&state](std::uint32_t n) {
        state = state * 1103515245u + 12345u;
        return ((state >> 16) & 0x7FFF) % n;
    };
    auto word = [&](std::size_t size, std::uint32_t letters) {
        std::string text;
        for (std::size_t i = 0; i < size; ++i) {
            text += static_cast<char>('a' + next(letters));
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::uint32_t letters = 2 + next(2);
        std::string pattern = word(1 + next(4), letters);
        if (round % 2 == 0) {  // periodic: the unit repeated, cut, and a tail
            std::string repeated;
            const std::size_t size = pattern.size() * (1 + next(5)) + next(3);
            while (repeated.size() < size) {
                repeated += pattern;
            }
            pattern = repeated.substr(0, size) + word(next(3), letters);
        }
        if (pattern.empty()) {
            pattern = "a";
        }
        std::string text = word(next(700), letters);  // past the bytes searched without skips
        if (next(2) == 0 && text.size() >= pattern.size()) {
            text.replace(next(static_cast<std::uint32_t>(text.size() - pattern.size() + 1)),
                         pattern.size(), pattern);
        }
        const auto size = static_cast<std::uint32_t>(text.size());
        // SearchBytes wants a byte of the range after the match: the plain search looks at the
        // range without its last byte.
        const std::size_t plain =
            size == 0 ? std::string::npos : text.substr(0, size - 1).find(pattern);
        const std::uint8_t* found =
            SearchBytes(Bytes(text), size, Bytes(pattern), static_cast<int>(pattern.size()));
        const std::uint8_t* expected = plain == std::string::npos ? nullptr : Bytes(text) + plain;
        ASSERT_EQ(found, expected) << "text " << text << " pattern " << pattern;
    }
}

// ---- SearchStrings --------------------------------------------------------------------------

TEST(SearchStrings, FindsTheTextInsideALaterString) {
    const std::string data = "first\0second WARNING here\0third\0"s;
    const std::uint8_t* found = SearchStrings(Bytes(data), Size(data), "WARNING");
    EXPECT_EQ(found, Bytes(data) + data.find("WARNING"));
}

TEST(SearchStrings, IsCaseSensitive) {
    const std::string data = "warning\0Warning\0WARNING!\0"s;
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), "WARNING"), Bytes(data) + 16);
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), "WARNUNG"), nullptr);
}

TEST(SearchStrings, NeverMatchesAcrossAZeroByte) {
    const std::string data = "xxWARN\0ING yy\0"s;
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), "WARNING"), nullptr);
}

TEST(SearchStrings, MatchesWindows1252Bytes) {
    const std::string data = "ATENCION\0ATENCI\xD3N: no\0"s;
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), "ATENCI\xD3N"), Bytes(data) + 9);
}

TEST(SearchStrings, TextEndingExactlyAtTheEndOfTheRangeIsNotFound) {
    const std::string data = "abc\0xxWARNING"s;
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), "WARNING"), nullptr);
}

TEST(SearchStrings, ALastMatchWithoutAByteAfterItEndsTheSearch) {
    // The same bytes with and without the terminating zero inside the range.
    const std::string data = "zzWARNING\0"s;
    EXPECT_EQ(SearchStrings(Bytes(data), 9, "WARNING"), nullptr);
    EXPECT_EQ(SearchStrings(Bytes(data), 10, "WARNING"), Bytes(data) + 2);
}

TEST(SearchStrings, ReadsNothingBeyondTheRangeEvenWithoutATerminator) {
    // No zero byte anywhere: the range ends the last string. A search relying on a terminator
    // would run on into the rest of the buffer, where the text continues.
    const std::string data = "yyyyWARN" + "ING!"s;
    EXPECT_EQ(SearchStrings(Bytes(data), 8, "WARNING"), nullptr);
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), "WARNING"), Bytes(data) + 4);
}

TEST(SearchStrings, TextEndsAtItsFirstZeroByte) {
    const std::string data = "abc\0WARNxyz\0"s;
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), "WARN\0ING"s), Bytes(data) + 4);
}

TEST(SearchStrings, EmptyTextMatchesAtTheFirstByte) {
    // Like a string search: the empty text occurs everywhere, first at the start of the range.
    const std::string data = "ab\0"s;
    EXPECT_EQ(SearchStrings(Bytes(data), Size(data), ""), Bytes(data));
    EXPECT_EQ(SearchStrings(Bytes(data), 0, ""), nullptr);
}

TEST(SearchStrings, FindsTheSameAsAStringByStringWalk) {
    // The plain algorithm: walk the strings, take the first occurrence in the first string that
    // holds one, accept it only with a byte of the range after it.
    auto walk = [](const std::string& data, std::uint32_t length,
                   const std::string& text) -> const std::uint8_t* {
        const char* p = data.data();
        const char* end = data.data() + length;
        while (p < end) {
            const char* m = std::strstr(p, text.c_str());
            if (m != nullptr) {
                return m + text.size() < end ? reinterpret_cast<const std::uint8_t*>(m) : nullptr;
            }
            p += std::strlen(p) + 1;
        }
        return nullptr;
    };
    // Deterministic pseudo-random images over a tiny alphabet, so matches are frequent.
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    const char alphabet[] = {'A', 'B', '\0'};
    for (int round = 0; round < 3000; ++round) {
        std::string data;
        const int size = static_cast<int>(next() % 24);
        for (int i = 0; i < size; ++i) {
            data += alphabet[next() % 3];
        }
        std::string text;
        const int textSize = 1 + static_cast<int>(next() % 3);
        for (int i = 0; i < textSize; ++i) {
            text += alphabet[next() % 2];
        }
        const auto length = static_cast<std::uint32_t>(data.size());
        data += '\0';  // the terminator the strict walk needs, outside the range
        EXPECT_EQ(SearchStrings(Bytes(data), length, text), walk(data, length, text))
            << "round " << round << " text " << text;
    }
}

// ---- FitToLength ----------------------------------------------------------------------------

TEST(FitToLength, PadsWithSpaces) {
    EXPECT_EQ(FitToLength("ab", 5), "ab   ");
}

TEST(FitToLength, CutsWhereverTheCutFalls) {
    EXPECT_EQ(FitToLength("line one\nline two\n", 11), "line one\nli");
    EXPECT_EQ(FitToLength("abc\n", 3), "abc");
}

TEST(FitToLength, KeepsAnExactFitAndHandlesEmptyCases) {
    EXPECT_EQ(FitToLength("abc", 3), "abc");
    EXPECT_EQ(FitToLength("", 4), "    ");
    EXPECT_EQ(FitToLength("abc", 0), "");
}

// ---- Searching a loaded image ---------------------------------------------------------------

TEST(ImageSearch, MatchStartsAtTheTextAndTheBytesBeforeItStay) {
    TempDir dir;
    FirmwareImage image;
    const std::string bytes = "head\0xxWARNING: keep off\0tail\0"s;
    LoadBytes(dir, image, bytes);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 7);
    EXPECT_EQ(image.MessageLength(), std::string("WARNING: keep off").size());

    image.ReplaceMessage("Owner");
    std::string expected = bytes;
    expected.replace(7, 17, "Owner            ");
    EXPECT_EQ(ImageBytes(image), expected);
    EXPECT_TRUE(image.IsModified());
}

TEST(ImageSearch, SecondOccurrenceInTheSameStringGivesAShorterMessage) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "a WARNING b WARNING c\0end\0"s);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 2);
    EXPECT_EQ(image.MessageLength(), 19u);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 12);
    EXPECT_EQ(image.MessageLength(), 9u);
    EXPECT_FALSE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 12);  // a failed search keeps the current match
}

TEST(ImageSearch, OverlappingMatchesAreFoundOneByteApart) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "AAA\0xAAx\0"s);
    std::vector<std::int32_t> offsets;
    while (image.LocateMessage("AA")) {
        offsets.push_back(image.MatchOffset());
    }
    EXPECT_EQ(offsets, (std::vector<std::int32_t>{0, 1, 5}));
}

TEST(ImageSearch, NoWrapAroundAfterTheLastOccurrenceUntilReset) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "WARNING one\0WARNING two\0"s);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_FALSE(image.LocateMessage("WARNING"));
    image.ResetSearch();
    EXPECT_EQ(image.MatchOffset(), -1);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 0);
}

TEST(ImageSearch, TextAtTheVeryEndOfTheFileIsNotFound) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "header\0xxWARNING"s);
    EXPECT_FALSE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), -1);
    EXPECT_EQ(image.FindNextText("WARNING"), nullptr);
}

TEST(ImageSearch, LastStringIsEndedByTheZeroByteAfterTheFile) {
    // The file ends inside the message without a zero byte of its own.
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "\0WARNING tail"s);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 1);
    EXPECT_EQ(image.MessageLength(), 12u);  // up to the end of the file, not further
    EXPECT_EQ(image.Data()[image.Length()], 0);
    image.ReplaceMessage("a much longer replacement text");
    EXPECT_EQ(ImageBytes(image), "\0a much longe"s);
    EXPECT_EQ(image.Data()[image.Length()], 0);
}

TEST(ImageSearch, FindNextTextLeavesTheMatchAlone) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "WARNING\0WARNING\0"s);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.FindNextText("WARNING"), image.Data() + 8);
    EXPECT_EQ(image.MatchOffset(), 0);
}

TEST(ImageSearch, EmptyFileFindsNothing) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "");
    EXPECT_FALSE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.FindBytes(Bytes("W"s), 1), nullptr);
    EXPECT_EQ(image.MessageLength(), 0u);
}

TEST(ImageSearch, EmptyImageFindsNothing) {
    FirmwareImage image;
    EXPECT_EQ(image.FindBytes(Bytes("W"s), 1), nullptr);
    EXPECT_EQ(image.FindNextText("W"), nullptr);
    EXPECT_FALSE(image.LocateMessage("W"));
    EXPECT_EQ(image.MessageLength(), 0u);
    image.ReplaceMessage("x");  // no match: nothing to write
    EXPECT_FALSE(image.IsModified());
}

TEST(ImageSearch, FindBytesNeedsAByteAfterThePattern) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "\x01\x02\x03\x04"s);
    EXPECT_EQ(image.FindBytes(Bytes("\x02\x03"s), 2), image.Data() + 1);
    EXPECT_EQ(image.FindBytes(Bytes("\x03\x04"s), 2), nullptr);
}

// A range of zero bytes that takes memory only where it is written: pages never written all
// read as the system's one page of zeros, so gigabytes cost nothing.
class ZeroPages {
public:
    explicit ZeroPages(std::size_t size) : size_(size) {
#ifdef _WIN32
        data_ = static_cast<std::uint8_t*>(
            ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
#else
        void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        data_ = mapped == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(mapped);
#endif
    }
    ~ZeroPages() {
        if (data_ != nullptr) {
#ifdef _WIN32
            ::VirtualFree(data_, 0, MEM_RELEASE);
#else
            ::munmap(data_, size_);
#endif
        }
    }
    ZeroPages(const ZeroPages&) = delete;
    ZeroPages& operator=(const ZeroPages&) = delete;
    std::uint8_t* Data() const {
        return data_;
    }

private:
    std::size_t size_;
    std::uint8_t* data_ = nullptr;
};

TEST(ImageSearch, MatchesBeyond2GiBAreFoundAndMeasured) {
    // An image of 2 GiB and 1 MiB: one message crosses the largest 32-bit signed offset, one lies
    // beyond it. A long search text moves over the zero bytes in big steps.
    constexpr std::int64_t kSignedLimit = std::int64_t{1} << 31;
    constexpr std::uint32_t kLength = (std::uint32_t{1} << 31) + (1u << 20);
    const std::string text = "WARNING" + std::string(4089, '!');
    const std::vector<std::int64_t> messages = {kSignedLimit - 3, kSignedLimit + (1 << 16)};
    ZeroPages image(std::size_t{kLength} + 1);
    ASSERT_NE(image.Data(), nullptr);
    for (const std::int64_t at : messages) {
        std::memcpy(image.Data() + at, (text + " tail").data(), text.size() + 5);
    }
    std::vector<std::int64_t> found;
    for (std::int64_t at = -1; (at = NextMatchOffset(image.Data(), kLength, at, text)) >= 0;) {
        found.push_back(at);
        EXPECT_EQ(MessageLengthAt(image.Data(), kLength, at), text.size() + 5);
    }
    EXPECT_EQ(found, messages);
}

// ---- Replacement ----------------------------------------------------------------------------

TEST(ReplaceMessage, LongerTextIsCutEvenBeforeItsLineBreak) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "WARNING!\0next\0"s);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("Terry N.\nOwner\n");
    EXPECT_EQ(ImageBytes(image), "Terry N.\0next\0"s);
}

TEST(ReplaceMessage, ShorterTextIsPaddedWithSpaces) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "pre\0WARNING: do not\0next\0"s);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("Me\n");
    EXPECT_EQ(ImageBytes(image), "pre\0Me\n            \0next\0"s);
}

TEST(ReplaceMessage, EmptyTextLeavesSpacesAndTheZeroByte) {
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "WARNING\0x\0"s);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    image.ReplaceMessage("");
    EXPECT_EQ(ImageBytes(image), "       \0x\0"s);
}

TEST(ReplaceMessage, OnlyTheMessageChanges) {
    TempDir dir;
    FirmwareImage image;
    std::string bytes(4096, '\x5A');
    bytes[100] = '\0';
    bytes.replace(200, 12, "WARNING text");
    bytes[212] = '\0';
    LoadBytes(dir, image, bytes);
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 200);
    image.ReplaceMessage("\xC4rger\n");
    std::string expected = bytes;
    expected.replace(200, 12, "\xC4rger\n      ");
    EXPECT_EQ(ImageBytes(image), expected);
    EXPECT_EQ(image.Length(), 4096u);
}

}  // namespace
}  // namespace tavlo
