#include "screen/screen_layout.h"

#include <algorithm>
#include <cstdint>

#include "core/message_format.h"
#include "screen/device_font.h"

namespace tavlo {

namespace {

// Stands in for a missing font: it measures every character as its spacing column alone and
// draws nothing.
const DeviceFont& UnlocatedFont() {
    static const DeviceFont font;
    return font;
}

constexpr int kColumnWordBits = 16;

}  // namespace

ScreenLayout::ScreenLayout(const DeviceFont* font, PixelSink& sink, int width, int height)
    : font_(font != nullptr ? *font : UnlocatedFont()),
      hasFont_(font != nullptr),
      sink_(sink),
      width_(width),
      height_(height) {}

void ScreenLayout::DrawText(std::string_view text) {
    if (!hasFont_) {
        return;
    }
    int lineIndex = 0;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        DrawLineCentred(line, lineIndex);
        // Lines past the screen are laid out but never drawn; the index only has to stay past it.
        lineIndex = std::min(lineIndex + 1, VisibleLines());
    }
}

std::string_view ScreenLayout::NextLine(std::string_view& text) const {
    // The line is always the front of the text: it is measured word by word as it grows, so a
    // line costs the length of what it takes (and of the word it refuses) and nothing more.
    std::size_t lineLength = 0;
    std::int64_t lineWidth = 0;
    for (;;) {
        const std::size_t pos = text.find_first_of(" \n", lineLength);
        if (pos == std::string_view::npos) {
            // The final word stays on this line unmeasured; the edge clips what does not fit.
            lineLength = text.size();
            break;
        }
        const std::int64_t candidateWidth =
            lineWidth + font_.TextWidth(text.substr(lineLength, pos + 1 - lineLength));
        if (candidateWidth < width_) {
            lineLength = pos + 1;
            lineWidth = candidateWidth;
            if (text[pos] == '\n') {
                break;
            }
            continue;
        }
        // Too wide: the word starts the next line, unless it is alone, then it is a line of its
        // own (and is clipped when drawn).
        if (lineLength == 0) {
            lineLength = pos + 1;
        }
        break;
    }
    const std::string_view line = text.substr(0, lineLength);
    text.remove_prefix(lineLength);
    return line;
}

bool ScreenLayout::GlyphFits(int column, int glyphWidth) const {
    // The glyph and its spacing column must end inside the screen.
    return column + glyphWidth <= width_ - 1;
}

HiddenText ScreenLayout::Hidden(std::string_view text) const {
    HiddenText hidden;
    if (!hasFont_) {
        return hidden;
    }
    const auto shows = [](char c) { return static_cast<std::uint8_t>(c) > ' '; };
    for (int lineIndex = 0; !text.empty(); ++lineIndex) {
        const std::string_view line = NextLine(text);
        if (lineIndex >= VisibleLines()) {
            hidden.linesBelow += std::any_of(line.begin(), line.end(), shows) ? 1 : 0;
            continue;
        }
        // The columns the drawing of the centred line walks.
        int column = CentredColumn(font_.TextWidth(line));
        for (const char c : line) {
            const int glyphWidth = font_.GlyphWidth(static_cast<std::uint8_t>(c));
            if (shows(c) && !GlyphFits(column, glyphWidth)) {
                ++hidden.clippedLines;
                break;
            }
            column += glyphWidth + 1;
        }
    }
    return hidden;
}

std::string HiddenTextNote(const HiddenText& hidden) {
    const auto lines = [](int n, const char* where) {
        return FormatMessage(n == 1 ? "%1 line %2" : "%1 lines %2", {std::to_string(n), where});
    };
    std::string note;
    if (hidden.linesBelow > 0) {
        note = lines(hidden.linesBelow, "below the screen");
    }
    if (hidden.clippedLines > 0) {
        const std::string clipped = lines(hidden.clippedLines, "cut at the right edge");
        note = note.empty() ? clipped : FormatMessage("%1, %2", {note, clipped});
    }
    return note.empty() ? note : FormatMessage("Not shown on the receiver: %1.", {note});
}

int ScreenLayout::CentredColumn(int lineWidth) const {
    // Integer division truncates toward zero, as the receiver's does.
    const std::int64_t column = (static_cast<std::int64_t>(width_) - lineWidth) / 2;
    return column < 0 ? 0 : static_cast<int>(column);
}

int ScreenLayout::VisibleLines() const {
    return font_.linePitch > 0 ? height_ / font_.linePitch : 0;
}

void ScreenLayout::DrawLineCentred(std::string_view line, int lineIndex) {
    DrawString(line, lineIndex, CentredColumn(font_.TextWidth(line)));
}

void ScreenLayout::DrawString(std::string_view line, int lineIndex, int column) {
    for (char c : line) {
        // Past the right edge no glyph can be drawn any more, however narrow.
        if (column >= width_) {
            break;
        }
        const auto code = static_cast<std::uint8_t>(c);
        DrawChar(code, lineIndex, column);
        column += font_.GlyphWidth(code) + 1;  // a control character advances one column
    }
}

void ScreenLayout::DrawChar(std::uint8_t code, int lineIndex, int column) {
    if (code < 32) {
        return;
    }
    const int glyphWidth = font_.GlyphWidth(code);
    if (lineIndex > VisibleLines() - 1) {
        return;
    }
    if (!GlyphFits(column, glyphWidth)) {
        return;
    }
    const int bottomRow = (lineIndex + 1) * font_.linePitch - font_.gap - 1;
    const int bits = std::min(font_.glyphHeight, kColumnWordBits);
    for (int g = 0; g < glyphWidth; ++g) {
        const std::uint16_t word = font_.GlyphColumn(code, g);
        for (int i = 0; i < bits; ++i) {
            if ((word >> i) & 1) {
                sink_.LightPixel(column + g, bottomRow - i);
            }
        }
    }
}

LitPixelGrid::LitPixelGrid(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      lit_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), false) {}

void LitPixelGrid::LightPixel(int column, int row) {
    if (column >= 0 && column < width_ && row >= 0 && row < height_) {
        lit_[static_cast<std::size_t>(row) * width_ + column] = true;
    }
}

bool LitPixelGrid::IsLit(int column, int row) const {
    if (column < 0 || column >= width_ || row < 0 || row >= height_) {
        return false;
    }
    return lit_[static_cast<std::size_t>(row) * width_ + column];
}

int LitPixelGrid::LitCount() const {
    return static_cast<int>(std::count(lit_.begin(), lit_.end(), true));
}

std::string LitPixelGrid::Picture() const {
    std::string picture;
    for (int row = 0; row < height_; ++row) {
        for (int column = 0; column < width_; ++column) {
            picture += IsLit(column, row) ? '#' : '.';
        }
        picture += '\n';
    }
    return picture;
}

LitPixelGrid LayOutText(const DeviceFont* font, std::string_view text) {
    LitPixelGrid grid;
    ScreenLayout(font, grid).DrawText(text);
    return grid;
}

namespace {

// Takes the layout's pixels and draws none: for laying out lines without painting them.
class NoPixels : public PixelSink {
public:
    void LightPixel(int, int) override {}
};

}  // namespace

std::vector<std::string> ScreenLines(const DeviceFont* font, std::string_view text) {
    std::vector<std::string> lines;
    if (font == nullptr) {
        return lines;
    }
    NoPixels sink;
    const ScreenLayout layout(font, sink);
    const auto visible = static_cast<std::size_t>(layout.VisibleLines());
    while (!text.empty() && lines.size() < visible) {
        lines.emplace_back(layout.NextLine(text));
    }
    return lines;
}

HiddenText HiddenOnScreen(const DeviceFont* font, std::string_view text) {
    NoPixels sink;
    return ScreenLayout(font, sink).Hidden(text);
}

}  // namespace tavlo
