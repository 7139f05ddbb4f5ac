// The receiver's font and the screen layout over arbitrary images and texts.
//
// The input is split into a text, a place where the font's signature may be planted, and the
// image's bytes, which are loaded from a real file. With or without a glyph table found, every
// read stays inside the image (AddressSanitizer watches the image's buffer), every glyph width
// and column word is what the table's bytes say (or empty past the image's end), the layout
// takes the whole text in lines that fit or cannot be split, and every lit pixel lies on the
// 108 x 91 screen, in the glyph rows of one of the seven lines.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware_image.h"
#include "fuzz_support.h"
#include "screen/device_font.h"
#include "screen/screen_layout.h"

namespace {

using tavlo::DeviceFont;
using tavlo::ScreenLayout;
using tavlo::fuzz::InputFile;

constexpr int kWidth = 108;
constexpr int kHeight = 91;
constexpr int kLines = 7;
constexpr int kLinePitch = 12;
constexpr int kGlyphRows = 11;

// Lit pixels must lie on the screen, in rows L * 12 to L * 12 + 10 of a line L below 7.
class ScreenCheck : public tavlo::PixelSink {
public:
    void LightPixel(int column, int row) override {
        FUZZ_CHECK(column >= 0 && column < kWidth);
        FUZZ_CHECK(row >= 0 && row < kHeight);
        FUZZ_CHECK(row < kLines * kLinePitch && row % kLinePitch < kGlyphRows);
        ++lit;
    }
    long lit = 0;
};

// Where the font's table must be: the signature's first occurrence with a byte after it, and
// only when the whole table fits before the image's end.
const std::uint8_t* ExpectedTable(const std::uint8_t* data, std::size_t length) {
    constexpr std::size_t kSize = sizeof DeviceFont::kSignature;
    for (std::size_t i = 0; i + kSize < length; ++i) {
        if (std::memcmp(data + i, DeviceFont::kSignature, kSize) == 0) {
            return length - i >= DeviceFont::kTableBytes ? data + i : nullptr;
        }
    }
    return nullptr;
}

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The font read the long way, straight from the table's bytes.
void CheckGlyphs(const DeviceFont& font, const std::uint8_t* table, const std::uint8_t* end,
                 std::string_view text) {
    std::bitset<256> seen;
    for (const char c : text) {
        seen.set(static_cast<std::uint8_t>(c));
    }
    for (int code = 0; code < 256; ++code) {
        const auto byte = static_cast<std::uint8_t>(code);
        const std::uint8_t* entry = code < 32 ? nullptr : table + (code - 32) * 4;
        const int width = entry == nullptr ? 0 : entry[3];
        FUZZ_CHECK(font.GlyphWidth(byte) == width);
        if (!seen[byte] || entry == nullptr) {
            continue;
        }
        const std::uint8_t* columns = table + DeviceFont::kTableBytes;
        for (int g = -1; g <= width + 1; ++g) {
            const std::ptrdiff_t offset = Word(entry) + 2 * static_cast<std::ptrdiff_t>(g);
            const std::uint16_t expected =
                g < 0 || offset + 2 > end - columns ? 0 : Word(columns + offset);
            FUZZ_CHECK(font.GlyphColumn(byte, g) == expected);
        }
    }
    std::int64_t width = 0;
    for (const char c : text) {
        width += font.GlyphWidth(static_cast<std::uint8_t>(c)) + 1;
    }
    FUZZ_CHECK(font.TextWidth(text) == width);
}

// The line breaking: the lines put together give the text back, a line break can only end a
// line, a line of 108 columns or more is a single word (or ends the text with a final word that
// no space or line break follows), and no line could have taken the next word as well.
void CheckLines(const DeviceFont& font, const ScreenLayout& layout, std::string_view text) {
    std::string_view rest = text;
    std::size_t taken = 0;
    while (!rest.empty()) {
        const std::string_view line = layout.NextLine(rest);
        FUZZ_CHECK(!line.empty());
        FUZZ_CHECK(line.data() == text.data() + taken);
        taken += line.size();
        FUZZ_CHECK(rest.data() == text.data() + taken && rest.size() == text.size() - taken);
        const std::size_t lineBreak = line.find('\n');
        FUZZ_CHECK(lineBreak == std::string_view::npos || lineBreak == line.size() - 1);
        if (font.TextWidth(line) >= kWidth) {
            const std::size_t firstBreak = line.find_first_of(" \n");
            const bool oneWord =
                firstBreak == std::string_view::npos || firstBreak == line.size() - 1;
            const std::size_t lastBreak = line.find_last_of(" \n");
            const bool finalWord =
                rest.empty() && (lastBreak == std::string_view::npos ||
                                 font.TextWidth(line.substr(0, lastBreak + 1)) < kWidth);
            FUZZ_CHECK(oneWord || finalWord);
        }
        // A line that fits was ended by a line break, or by a next word that would not fit.
        if (!rest.empty() && line.back() != '\n' && font.TextWidth(line) < kWidth) {
            const std::size_t nextBreak = rest.find_first_of(" \n");
            FUZZ_CHECK(nextBreak != std::string_view::npos);
            FUZZ_CHECK(static_cast<std::int64_t>(font.TextWidth(line)) +
                           font.TextWidth(rest.substr(0, nextBreak + 1)) >=
                       kWidth);
        }
    }
    FUZZ_CHECK(taken == text.size());
}

// The text's first characters at the places the layout can put them: the first, a middle and
// the last line on the screen, the first line below it, and columns from the left edge to past
// the right one.
void CheckCharacters(ScreenLayout& layout, std::string_view text) {
    constexpr std::size_t kCharacters = 24;
    for (const char c : text.substr(0, kCharacters)) {
        const auto code = static_cast<std::uint8_t>(c);
        for (const int line : {0, 3, kLines - 1, kLines}) {
            for (const int column : {0, 1, 50, 100, 106, 107, 108, 200}) {
                layout.DrawChar(code, line, column);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InputFile input;
    FuzzedDataProvider provider(data, size);
    const std::string text = provider.ConsumeRandomLengthString(400);
    const bool plant = provider.ConsumeBool();
    const auto plantAt = provider.ConsumeIntegral<std::uint16_t>();
    std::vector<std::uint8_t> bytes = provider.ConsumeRemainingBytes<std::uint8_t>();
    // A signature planted anywhere, also too close to the end for the table to fit.
    constexpr std::size_t kSize = sizeof DeviceFont::kSignature;
    if (plant && bytes.size() >= kSize) {
        const std::size_t at = std::min<std::size_t>(plantAt, bytes.size() - kSize);
        std::memcpy(bytes.data() + at, DeviceFont::kSignature, kSize);
    }

    tavlo::FirmwareImage image;
    FUZZ_CHECK(image.Load(input.Write(bytes.data(), bytes.size())));
    const std::uint8_t* end = image.Data() + image.Length();
    const std::uint8_t* expectedTable = ExpectedTable(image.Data(), image.Length());

    DeviceFont font;
    const bool located = font.Locate(image);
    FUZZ_CHECK(located == (expectedTable != nullptr));
    FUZZ_CHECK(font.Table() == expectedTable);
    if (located) {
        CheckGlyphs(font, expectedTable, end, text);
    }

    ScreenCheck screen;
    ScreenLayout layout(located ? &font : nullptr, screen);
    CheckLines(font, layout, text);
    layout.DrawText(text);
    CheckCharacters(layout, text);
    if (!located) {
        FUZZ_CHECK(screen.lit == 0);
    }

    // A font that was never located draws nothing either, and measures each character as its
    // spacing column alone.
    const DeviceFont unlocated;
    ScreenCheck blank;
    ScreenLayout unlocatedLayout(&unlocated, blank);
    unlocatedLayout.DrawText(text);
    CheckCharacters(unlocatedLayout, text);
    FUZZ_CHECK(blank.lit == 0);
    FUZZ_CHECK(unlocated.TextWidth(text) == static_cast<int>(text.size()));
    return 0;
}
