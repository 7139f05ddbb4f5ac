#include "tools/help_pictures/help_decorations.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace tavlo::tools {

namespace {

// Gives each distinct colour a palette entry, in the order they first appear.
class PaletteBuilder {
public:
    explicit PaletteBuilder(PalettePicture& target) : target_(target) {}

    std::uint8_t IndexOf(Rgb colour) {
        for (int i = 0; i < target_.colourCount; ++i) {
            const Rgb& known = target_.picture.palette[i];
            if (known.red == colour.red && known.green == colour.green &&
                known.blue == colour.blue) {
                return static_cast<std::uint8_t>(i);
            }
        }
        if (target_.colourCount == 256) {
            throw std::length_error("more than 256 colours");
        }
        target_.picture.palette[target_.colourCount] = colour;
        return static_cast<std::uint8_t>(target_.colourCount++);
    }

private:
    PalettePicture& target_;
};

std::uint8_t Channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

PalettePicture Blank(int width, int height) {
    PalettePicture result;
    result.picture.width = width;
    result.picture.height = height;
    result.picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return result;
}

// A small fixed pseudo-random value in [0, 1) for a pixel, the same on every run.
double Grain(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFF) / 65536.0;
}

}  // namespace

PalettePicture DrawListBullet() {
    constexpr int kSize = 15;
    constexpr double kCentre = 7.0;  // the middle of pixel 7
    constexpr double kRadius = 5.6;
    constexpr int kSamples = 4;  // per pixel and direction, for smooth edges
    PalettePicture result = Blank(kSize, kSize);
    PaletteBuilder palette(result);
    // A colour the ball never has, so no lit pixel shares the transparent entry.
    const std::uint8_t transparent = palette.IndexOf({255, 0, 255});
    result.transparentIndex = transparent;

    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double dx = x - 0.5 + (sx + 0.5) / kSamples - kCentre;
                    const double dy = y - 0.5 + (sy + 0.5) / kSamples - kCentre;
                    covered += dx * dx + dy * dy <= kRadius * kRadius ? 1 : 0;
                }
            }
            if (covered == 0) {
                result.picture.At(y, x) = transparent;
                continue;
            }
            // Lit from the upper left: bright near the highlight, deeper towards the far edge.
            const double light = std::max(
                0.0, 1.0 - std::hypot(x - (kCentre - 2.0), y - (kCentre - 2.0)) / (kRadius * 1.6));
            const double coverage = static_cast<double>(covered) / (kSamples * kSamples);
            const double shine = std::pow(light, 6.0) * 0.8;
            const double shade = (0.45 + 0.55 * light) * coverage;
            // Partly covered edge pixels fade into the page's black.
            const Rgb colour{Channel((250 * shade + 255 * shine * coverage)),
                             Channel((170 * shade + 255 * shine * coverage)),
                             Channel((40 * shade + 255 * shine * coverage))};
            result.picture.At(y, x) = palette.IndexOf(colour);
        }
    }
    return result;
}

PalettePicture DrawBackgroundTile() {
    constexpr int kWidth = 216;
    constexpr int kHeight = 18;
    constexpr double kTurn = 2.0 * std::numbers::pi;
    PalettePicture result = Blank(kWidth, kHeight);
    PaletteBuilder palette(result);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // Whole numbers of waves across the tile in each direction, so its edges meet.
            const double u = static_cast<double>(x) / kWidth;
            const double v = static_cast<double>(y) / kHeight;
            const double wave =
                3.0 * std::sin(kTurn * (2.0 * u + v)) + 2.0 * std::sin(kTurn * (9.0 * u - 2.0 * v));
            const double level = std::round(11.0 + wave + 5.0 * Grain(x, y));
            result.picture.At(y, x) =
                palette.IndexOf({Channel(level * 0.8), Channel(level * 0.9), Channel(level * 1.3)});
        }
    }
    return result;
}

}  // namespace tavlo::tools
