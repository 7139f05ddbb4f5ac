#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "screen/screen_geometry.h"

namespace tavlo {

class DeviceFont;

// Receives the device pixels that the layout lights, one call per pixel.
class PixelSink {
public:
    virtual ~PixelSink() = default;
    virtual void LightPixel(int column, int row) = 0;
};

// What of a text the receiver does not show.
struct HiddenText {
    int linesBelow = 0;    // lines with something to show below the screen's last line
    int clippedLines = 0;  // lines on the screen that lose characters at its right edge

    bool Any() const { return linesBelow > 0 || clippedLines > 0; }
};

// Says in a sentence what is hidden, for the user ("" when nothing is).
std::string HiddenTextNote(const HiddenText& hidden);

// Lays a text out on the receiver's screen the way the receiver does: word-wrapped into lines
// narrower than the screen (one spacing column after every character counted), each line
// centred, seven lines of 12 rows on a 91-row screen. Every lit device pixel goes to the sink.
class ScreenLayout {
public:
    static constexpr int kWidth = kScreenWidth;
    static constexpr int kHeight = kScreenHeight;

    // With no font nothing is drawn.
    ScreenLayout(const DeviceFont* font, PixelSink& sink, int width = kWidth, int height = kHeight);

    // Lays out the whole text; only the lines that fit on the screen are drawn.
    void DrawText(std::string_view text);

    // Removes the next display line from the front of `text` and returns it, trailing spaces and
    // line break included. Every call removes at least one character of a non-empty text.
    std::string_view NextLine(std::string_view& text) const;

    void DrawLineCentred(std::string_view line, int lineIndex);
    void DrawString(std::string_view line, int lineIndex, int column);
    void DrawChar(std::uint8_t code, int lineIndex, int column);

    // What of the text the screen does not show: lines below its last one and characters past
    // its right edge that would light pixels (spaces and control characters never do). Nothing
    // without a font, which shows no text at all.
    HiddenText Hidden(std::string_view text) const;

    // The first column of a centred line of this many columns.
    int CentredColumn(int lineWidth) const;
    // How many text lines the screen shows.
    int VisibleLines() const;

private:
    // Whether a glyph this wide, drawn at this column, and its spacing column end on the screen.
    bool GlyphFits(int column, int glyphWidth) const;

    const DeviceFont& font_;
    bool hasFont_;
    PixelSink& sink_;
    int width_;
    int height_;
};

// The device screen as a grid of lit and unlit pixels.
class LitPixelGrid : public PixelSink {
public:
    explicit LitPixelGrid(int width = ScreenLayout::kWidth, int height = ScreenLayout::kHeight);

    // Pixels outside the grid are ignored.
    void LightPixel(int column, int row) override;

    bool IsLit(int column, int row) const;
    int LitCount() const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // One text row per device row, '#' for lit and '.' for unlit, for readable test failures.
    std::string Picture() const;

private:
    int width_;
    int height_;
    std::vector<bool> lit_;
};

// The lit pixels of `text` laid out on a 108 x 91 screen in `font` (none: nothing lit).
LitPixelGrid LayOutText(const DeviceFont* font, std::string_view text);

// The lines of `text` that the 108 x 91 screen shows, from the top, as laid out in `font` (none
// without a font, which shows no text).
std::vector<std::string> ScreenLines(const DeviceFont* font, std::string_view text);

// What of `text` the 108 x 91 screen does not show (ScreenLayout::Hidden).
HiddenText HiddenOnScreen(const DeviceFont* font, std::string_view text);

}  // namespace tavlo
