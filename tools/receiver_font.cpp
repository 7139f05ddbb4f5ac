#include "tools/receiver_font.h"

#include <algorithm>

namespace tavlo::tools {
namespace {

#include "tools/receiver_font.inc"

// An accented letter: its base (a one-character string names the glyph of that character, a
// longer one a named drawing, an empty one nothing) and the named mark drawn over or under it.
struct Composition {
    int code;
    const char* base;
    const char* mark;
};

constexpr Composition kCompositions[] = {
    {0x88, "", "mark circumflex small"},
    {0x8A, "S", "mark caron capital"},
    {0x8E, "Z", "mark caron capital"},
    {0x98, "", "mark tilde small"},
    {0x9A, "s", "mark caron small"},
    {0x9E, "z", "mark caron small"},
    {0x9F, "Y", "mark diaeresis capital"},
    {0xA8, "", "mark diaeresis small"},
    {0xB4, "", "mark acute small"},
    {0xB8, "", "mark cedilla"},
    {0xC0, "A", "mark grave capital"},
    {0xC1, "A", "mark acute capital"},
    {0xC2, "A", "mark circumflex capital"},
    {0xC3, "A", "mark tilde capital"},
    {0xC4, "A", "mark diaeresis capital"},
    {0xC5, "A", "mark ring capital"},
    {0xC7, "C", "mark cedilla"},
    {0xC8, "E", "mark grave capital"},
    {0xC9, "E", "mark acute capital"},
    {0xCA, "E", "mark circumflex capital"},
    {0xCB, "E", "mark diaeresis capital"},
    {0xCC, "I", "mark grave capital"},
    {0xCD, "I", "mark acute capital"},
    {0xCE, "I", "mark circumflex capital"},
    {0xCF, "I", "mark narrow diaeresis capital"},
    {0xD1, "N", "mark tilde capital"},
    {0xD2, "O", "mark grave capital"},
    {0xD3, "O", "mark acute capital"},
    {0xD4, "O", "mark circumflex capital"},
    {0xD5, "O", "mark tilde capital"},
    {0xD6, "O", "mark diaeresis capital"},
    {0xD9, "U", "mark grave capital"},
    {0xDA, "U", "mark acute capital"},
    {0xDB, "U", "mark circumflex capital"},
    {0xDC, "U", "mark diaeresis capital"},
    {0xDD, "Y", "mark acute capital"},
    {0xE0, "a", "mark grave small"},
    {0xE1, "a", "mark acute small"},
    {0xE2, "a", "mark circumflex small"},
    {0xE3, "a", "mark tilde small"},
    {0xE4, "a", "mark diaeresis small"},
    {0xE5, "a", "mark ring small"},
    {0xE7, "c", "mark cedilla"},
    {0xE8, "e", "mark grave small"},
    {0xE9, "e", "mark acute small"},
    {0xEA, "e", "mark circumflex small"},
    {0xEB, "e", "mark diaeresis small"},
    {0xEC, "dotless i", "mark grave small"},
    {0xED, "dotless i", "mark acute small"},
    {0xEE, "dotless i", "mark circumflex small"},
    {0xEF, "dotless i", "mark narrow diaeresis small"},
    {0xF1, "n", "mark tilde small"},
    {0xF2, "o", "mark grave small"},
    {0xF3, "o", "mark acute small"},
    {0xF4, "o", "mark circumflex small"},
    {0xF5, "o", "mark tilde small"},
    {0xF6, "o", "mark diaeresis small"},
    {0xF9, "u", "mark grave small"},
    {0xFA, "u", "mark acute small"},
    {0xFB, "u", "mark circumflex small"},
    {0xFC, "u", "mark diaeresis small"},
    {0xFD, "y", "mark acute small"},
    {0xFF, "y", "mark diaeresis small"},
};

// The delete control and the five codes Windows-1252 leaves undefined show nothing; the receiver
// still needs an entry for them.
constexpr int kUndefinedCodes[] = {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D};
constexpr int kUndefinedWidth = 2;

const Drawing* FindBase(const DrawingSet& drawings, const std::string& base) {
    if (base.size() == 1) {
        const auto it = drawings.glyphs.find(static_cast<unsigned char>(base[0]));
        return it == drawings.glyphs.end() ? nullptr : &it->second;
    }
    const auto it = drawings.named.find(base);
    return it == drawings.named.end() ? nullptr : &it->second;
}

// The base and the mark laid over each other, both centred in the wider of the two.
Drawing Compose(const Drawing& base, const Drawing& mark) {
    const int width = std::max(base.Width(), mark.Width());
    Drawing result;
    result.rows.assign(kGlyphRows, std::string(width, '.'));
    for (const Drawing* layer : {&base, &mark}) {
        const int left = (width - layer->Width()) / 2;
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < layer->Width(); ++column) {
                if (layer->Lit(row, column)) {
                    result.rows[row][left + column] = '#';
                }
            }
        }
    }
    return result;
}

std::string Hex(int code) {
    const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[code >> 4] + digits[code & 15];
}

}  // namespace

GlyphColumns ColumnsOf(const Drawing& drawing) {
    GlyphColumns columns(drawing.Width(), 0);
    for (int column = 0; column < drawing.Width(); ++column) {
        for (int row = 0; row < kGlyphRows; ++row) {
            if (drawing.Lit(row, column)) {
                columns[column] |= static_cast<std::uint16_t>(1u << (kGlyphRows - 1 - row));
            }
        }
    }
    return columns;
}

FontBuild BuildReceiverGlyphs(const DrawingSet& drawings) {
    FontBuild result;
    std::array<bool, kGlyphCount> provided{};
    auto provide = [&](int code, GlyphColumns columns) {
        if (code < kFirstCode || provided[code - kFirstCode]) {
            result.error = "glyph " + Hex(code) + " is provided twice or is below 0x20";
            return false;
        }
        provided[code - kFirstCode] = true;
        result.glyphs[code - kFirstCode] = std::move(columns);
        return true;
    };

    for (const auto& [code, drawing] : drawings.glyphs) {
        if (!provide(code, ColumnsOf(drawing))) {
            return result;
        }
    }
    const Drawing nothing{std::vector<std::string>(kGlyphRows, "")};
    for (const Composition& composition : kCompositions) {
        const Drawing* base =
            *composition.base == '\0' ? &nothing : FindBase(drawings, composition.base);
        const auto mark = drawings.named.find(composition.mark);
        if (base == nullptr || mark == drawings.named.end()) {
            result.error = "glyph " + Hex(composition.code) + " needs a drawing [" +
                           (base == nullptr ? composition.base : composition.mark) + "]";
            return result;
        }
        if (!provide(composition.code, ColumnsOf(Compose(*base, mark->second)))) {
            return result;
        }
    }
    for (int code : kUndefinedCodes) {
        if (!provide(code, GlyphColumns(kUndefinedWidth, 0))) {
            return result;
        }
    }
    for (int k = 0; k < kGlyphCount; ++k) {
        if (!provided[k]) {
            result.error = "glyph " + Hex(kFirstCode + k) + " is missing";
            return result;
        }
    }
    return result;
}

FontBuild BuildSampleFont() {
    const DrawingParse parse = ParseDrawings(kReceiverFontDrawings, kGlyphRows);
    if (!parse.error.empty()) {
        FontBuild failed;
        failed.error = "receiver_font.inc, " + parse.error;
        return failed;
    }
    return BuildReceiverGlyphs(parse.set);
}

}  // namespace tavlo::tools
