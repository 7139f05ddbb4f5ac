#include "cli/png_file.h"

#include <cstdio>
#include <memory>

#include "core/disk_file.h"

// The maintained single-file PNG encoder, compiled into this file only.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace tavlo::cli {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct PngSink {
    std::FILE* file;
    bool ok = true;
};

void WriteChunk(void* context, void* data, int size) {
    auto* sink = static_cast<PngSink*>(context);
    if (sink->ok && std::fwrite(data, 1, static_cast<std::size_t>(size), sink->file) !=
                        static_cast<std::size_t>(size)) {
        sink->ok = false;
    }
}

}  // namespace

bool WritePng(const std::string& path, const RgbRaster& raster) {
    static_assert(sizeof(Rgb) == 3, "the raster's pixels are packed RGB bytes");
    std::unique_ptr<std::FILE, FileCloser> file(OpenStream(path, "wb"));
    if (!file) {
        return false;
    }
    PngSink sink{file.get()};
    const int written = stbi_write_png_to_func(WriteChunk, &sink, raster.width, raster.height, 3,
                                               raster.pixels.data(), raster.width * 3);
    return written != 0 && sink.ok && std::fclose(file.release()) == 0;
}

}  // namespace tavlo::cli
