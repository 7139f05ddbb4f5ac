// tavlo-render-font FIRMWARE OUT.pgm: draws the receiver font found in a firmware file, read
// through the program's own DeviceFont, as a greyscale picture for a person to judge: every
// glyph from 32 to 255 (sixteen to a row, its width underlined in grey) and a few sample lines.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware_image.h"
#include "core/windows1252.h"
#include "screen/device_font.h"
#include "tools/output_file.h"

namespace {

constexpr int kScale = 3;
constexpr std::uint8_t kPaper = 255;
constexpr std::uint8_t kInk = 0;
constexpr std::uint8_t kRule = 170;

constexpr std::string_view kSampleLines[] = {
    "The quick brown fox jumps over the lazy dog.", "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG!",
    "Reward $$$  +49 (0)30 1234-567  #42 @home",    "ÀÁÂÃÄÅ Ç ÈÉÊË ÌÍÎÏ Ñ ÒÓÔÕÖ ÙÚÛÜ Ý Š Ž Ÿ",
    "àáâãäå ç èéêë ìíîï ñ òóôõö ùúûü ýÿ š ž",       "ATENCIÓN  Übermaß  Œuvre  señor  Ça va?",
    "€ „quoted“ ‘single’ … • – — ™ © ® ° ± ½ ¾",
};

class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(width * height, kPaper) {}

    // One device pixel, magnified.
    void Dot(int x, int y, std::uint8_t shade) {
        for (int dy = 0; dy < kScale; ++dy) {
            for (int dx = 0; dx < kScale; ++dx) {
                const int px = x * kScale + dx;
                const int py = y * kScale + dy;
                if (px < width_ && py < height_) {
                    pixels_[py * width_ + px] = shade;
                }
            }
        }
    }

    std::vector<std::uint8_t> Pgm() const {
        const std::string header =
            "P5\n" + std::to_string(width_) + " " + std::to_string(height_) + "\n255\n";
        std::vector<std::uint8_t> file(header.begin(), header.end());
        file.insert(file.end(), pixels_.begin(), pixels_.end());
        return file;
    }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// Draws a glyph with its top-left device pixel at (x, y); returns its width.
int DrawGlyph(Canvas& canvas, const tavlo::DeviceFont& font, std::uint8_t code, int x, int y) {
    const int width = font.GlyphWidth(code);
    for (int g = 0; g < width; ++g) {
        const std::uint16_t column = font.GlyphColumn(code, g);
        for (int i = 0; i < font.glyphHeight; ++i) {
            if (column & (1u << i)) {
                canvas.Dot(x + g, y + font.glyphHeight - 1 - i, kInk);
            }
        }
    }
    return width;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tavlo-render-font FIRMWARE OUT.pgm\n";
        return 2;
    }
    tavlo::FirmwareImage image;
    if (!image.Load(argv[1])) {
        std::cerr << "cannot read " << argv[1] << ": " << image.LastError() << "\n";
        return 1;
    }
    tavlo::DeviceFont font;
    if (!font.Locate(image)) {
        std::cerr << "no receiver font in " << argv[1] << "\n";
        return 1;
    }

    int cell = 0;
    for (int code = 32; code < 256; ++code) {
        cell = std::max(cell, font.GlyphWidth(static_cast<std::uint8_t>(code)) + 3);
    }
    const int rowPitch = font.glyphHeight + 4;
    const int gridRows = 14;
    const int textTop = gridRows * rowPitch + 4;
    const int lines = static_cast<int>(std::size(kSampleLines));
    int textWidth = 0;
    for (std::string_view line : kSampleLines) {
        textWidth = std::max(textWidth, font.TextWidth(tavlo::Utf8ToWindows1252(line).text));
    }
    const int width = 4 + std::max(16 * cell, textWidth);
    const int height = textTop + lines * font.linePitch + 2;
    Canvas canvas(width * kScale, height * kScale);

    for (int k = 0; k < 224; ++k) {
        const int x = 2 + (k % 16) * cell;
        const int y = 2 + (k / 16) * rowPitch;
        const int w = DrawGlyph(canvas, font, static_cast<std::uint8_t>(32 + k), x, y);
        for (int g = 0; g < w; ++g) {
            canvas.Dot(x + g, y + font.glyphHeight + 1, kRule);
        }
    }
    for (int line = 0; line < lines; ++line) {
        const auto text = tavlo::Utf8ToWindows1252(kSampleLines[line]).text;
        int x = 2;
        for (char c : text) {
            x += DrawGlyph(canvas, font, static_cast<std::uint8_t>(c), x,
                           textTop + line * font.linePitch) +
                 1;
        }
    }
    return tavlo::tools::WriteOutputFile(argv[2], canvas.Pgm()) ? 0 : 1;
}
