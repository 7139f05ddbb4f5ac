// Prints what the preview costs: one keystroke (layout of a full screen and its paint into the
// preview raster, every line changed) at magnification 2 and 8, and the layout of a pasted text
// of 10,000 and 100,000 characters, whose cost must grow linearly. All figures come from one run;
// only their ratios mean much. Each figure is the fastest single call, so the load of other
// programs hardly shows in it.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "screen/device_font.h"
#include "screen/preview_picture.h"
#include "screen/screen_layout.h"

namespace {

using Clock = std::chrono::steady_clock;

// A firmware image with a glyph table: the signature glyphs, then letters and digits of 4 to 6
// columns with a few lit bits each, so a full screen lights about as many pixels as a real one.
std::string FontImageBytes() {
    std::vector<std::uint8_t> table(tavlo::DeviceFont::kTableBytes, 0);
    std::vector<std::uint8_t> columns;
    auto glyph = [&](int code, int width, std::uint16_t pattern) {
        const std::size_t at = static_cast<std::size_t>(code - 32) * 4;
        table[at] = static_cast<std::uint8_t>(columns.size() & 0xFF);
        table[at + 1] = static_cast<std::uint8_t>(columns.size() >> 8);
        table[at + 3] = static_cast<std::uint8_t>(width);
        for (int g = 0; g < width; ++g) {
            const auto word = static_cast<std::uint16_t>((pattern << (g % 3)) & 0x07FF);
            columns.push_back(static_cast<std::uint8_t>(word & 0xFF));
            columns.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    };
    glyph(' ', 3, 0);
    glyph('!', 2, 0x05FF);
    glyph('"', 5, 0x0600);
    glyph('#', 7, 0x0249);
    for (int code = '$'; code < 256; ++code) {
        glyph(code, 4 + code % 3, static_cast<std::uint16_t>(0x0155 + code));
    }
    return std::string(4096, '\xEE') + std::string(table.begin(), table.end()) +
           std::string(columns.begin(), columns.end());
}

// Seven lines of words that fill the screen's width.
std::string FullScreenText(const tavlo::DeviceFont& font) {
    const std::vector<std::string> words = {"Reward", "$$$", "Owner:", "Jane",   "Doe", "Phone",
                                            "+1",     "555", "0123",   "Street", "City"};
    std::string text;
    std::size_t next = 0;
    for (int line = 0; line < 7; ++line) {
        std::string current;
        while (font.TextWidth(current + words[next % words.size()] + " \n") < 108) {
            current += words[next++ % words.size()] + " ";
        }
        text += current + "\n";
    }
    return text;
}

// A pasted text of `length` characters: words of 3 to 9 letters, now and then a line break.
std::string PastedText(std::size_t length) {
    std::string text;
    std::uint32_t seed = 12345;
    while (text.size() < length) {
        seed = seed * 1103515245u + 12345u;
        const int letters = 3 + static_cast<int>((seed >> 16) % 7);
        for (int i = 0; i < letters; ++i) {
            text += static_cast<char>('a' + (seed >> (i + 3)) % 26);
        }
        text += (seed >> 24) % 10 == 0 ? '\n' : ' ';
    }
    text.resize(length);
    return text;
}

// Microseconds of one call.
template <typename Work>
double TimeCall(Work& work) {
    const auto start = Clock::now();
    work();
    const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
    return spent.count();
}

// The shortest time of one call, in microseconds, of each of two works. Every call is timed on
// its own, so on a shared machine the shortest is a call that nothing interrupted; the calls
// alternate, so both works meet the same conditions and their ratio stays fair.
template <typename WorkA, typename WorkB>
std::pair<double, double> MicrosecondsPerCall(WorkA a, WorkB b) {
    double bestA = TimeCall(a);
    double bestB = TimeCall(b);
    // About a second in all, and at least a hundred calls of each.
    const int rounds = std::max(100, static_cast<int>(1e6 / (bestA + bestB)));
    for (int round = 0; round < rounds; ++round) {
        bestA = std::min(bestA, TimeCall(a));
        bestB = std::min(bestB, TimeCall(b));
    }
    return {bestA, bestB};
}

// Counts the lit pixels, so the layout's work cannot be left out.
class CountingSink : public tavlo::PixelSink {
public:
    void LightPixel(int, int) override { ++count; }
    long long count = 0;
};

}  // namespace

int main() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("tavlo-preview-bench-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".rgn");
    {
        const std::string bytes = FontImageBytes();
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    tavlo::FirmwareImage image;
    const bool loaded = image.Load(path.string());
    std::filesystem::remove(path);
    tavlo::DeviceFont font;
    if (!loaded || !font.Locate(image)) {
        std::fprintf(stderr, "preview_bench: cannot set up the font image\n");
        return 1;
    }

    // Two full screens that differ in every line, shown in turn: each keystroke paints the
    // whole text again, the most a keystroke can cost.
    const std::string screenText = FullScreenText(font);
    const std::string otherText = "x" + screenText;
    std::printf("Keystroke (layout + paint of a full 7-line screen into the preview raster):\n");
    auto keystroke = [&](tavlo::PreviewCanvas* canvas) {
        return [canvas, &font, &screenText, &otherText, odd = false]() mutable {
            odd = !odd;
            canvas->Show(tavlo::ScreenLines(&font, odd ? otherText : screenText),
                         tavlo::kTextTooLong);
        };
    };
    tavlo::PreviewCanvas mag2(&font, 2, 2);
    tavlo::PreviewCanvas mag8(&font, 8, 8);
    const auto [us2, us8] = MicrosecondsPerCall(keystroke(&mag2), keystroke(&mag8));
    std::printf("  magnification 2: %10.1f us\n", us2);
    std::printf("  magnification 8: %10.1f us\n", us8);

    std::printf("Layout of a pasted text:\n");
    double worst = 0;
    for (const char* shape : {"words", "one word"}) {
        auto pasted = [&](std::size_t length) {
            return shape[0] == 'w' ? PastedText(length) : std::string(length - 1, 'W') + " ";
        };
        const std::string small = pasted(10'000);
        const std::string large = pasted(100'000);
        CountingSink sink;
        auto layout = [&](const std::string* text) {
            return [text, &font, &sink] { tavlo::ScreenLayout(&font, sink).DrawText(*text); };
        };
        const auto [smallCost, largeCost] = MicrosecondsPerCall(layout(&small), layout(&large));
        std::printf("  %-8s  10,000 characters: %10.1f us\n", shape, smallCost);
        std::printf("  %-8s 100,000 characters: %10.1f us\n", shape, largeCost);
        const double ratio = largeCost / smallCost;
        worst = std::max(worst, ratio);
        std::printf("  %-8s 100,000 / 10,000: %.2fx\n", shape, ratio);
    }
    std::printf("linear: %s (limit 12x, worst %.2fx)\n", worst <= 12.0 ? "yes" : "no", worst);
    return 0;
}
