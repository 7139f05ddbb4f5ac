#include "support/png_reader.h"

#include <algorithm>
#include <memory>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace tavlo::test {

std::optional<RgbRaster> ReadPng(const std::string& path) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load(path.c_str(), &width, &height, &channels, 3), stbi_image_free);
    if (!pixels) {
        return std::nullopt;
    }
    RgbRaster picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] =
            Rgb{pixels.get()[3 * i], pixels.get()[3 * i + 1], pixels.get()[3 * i + 2]};
    }
    return picture;
}

bool WritePng(const std::string& path, const RgbRaster& picture) {
    static_assert(sizeof(Rgb) == 3, "the pixels are written as packed RGB");
    return stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.pixels.data(),
                          picture.width * 3) != 0;
}

bool HasColour(const RgbRaster& picture, Rgb colour) {
    return std::any_of(picture.pixels.begin(), picture.pixels.end(), [&](const Rgb& pixel) {
        return pixel.red == colour.red && pixel.green == colour.green && pixel.blue == colour.blue;
    });
}

}  // namespace tavlo::test
