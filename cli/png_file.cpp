#include "cli/png_file.h"

#include <cstdint>
#include <vector>

#include "core/ascii.h"
#include "core/atomic_file.h"
#include "core/file_names.h"
#include "core/firmware_image.h"
#include "core/windows1252.h"

// The maintained single-file PNG encoder, compiled into this file only.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace tavlo::cli {

namespace {

void Append(void* context, void* data, int size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    static_cast<std::vector<std::uint8_t>*>(context)->insert(
        static_cast<std::vector<std::uint8_t>*>(context)->end(), bytes, bytes + size);
}

// Where `path` finally leads, and whether that is the file `other` leads to.
bool IsTheSameFile(const std::string& path, const std::string& other) {
    std::string a;
    std::string b;
    if (FollowLinks(path, a) || FollowLinks(other, b)) {
        return false;
    }
    sys::FileStamp first;
    sys::FileStamp second;
    if (!sys::StampPath(a, first) && !sys::StampPath(b, second)) {
        return first.IsSameFile(second);
    }
    // A name that is not there yet is the same as another only when it is spelt the same.
    const std::string fullA = NativePathOf(std::filesystem::absolute(FileSystemPath(a)));
    const std::string fullB = NativePathOf(std::filesystem::absolute(FileSystemPath(b)));
    return kNamesIgnoreCase ? EqualIgnoringAsciiCase(fullA, fullB) : fullA == fullB;
}

}  // namespace

std::optional<std::string> WritePng(const std::string& path, const RgbRaster& raster,
                                    const std::string& firmwarePath) {
    static_assert(sizeof(Rgb) == 3, "the raster's pixels are packed RGB bytes");
    if (IsTheSameFile(path, firmwarePath)) {
        return std::string("it is the firmware file");
    }
    if (IsTheSameFile(path, FirmwareImage::BackupName(firmwarePath))) {
        return std::string("it is the firmware file's backup");
    }
    std::string resolved;
    sys::FileStamp stamp;
    if (!FollowLinks(path, resolved) && !sys::StampPath(resolved, stamp) &&
        stamp.type != sys::FileStamp::Type::File) {
        return std::string(stamp.type == sys::FileStamp::Type::Folder
                               ? sys::ErrorOf(sys::FileError::Kind::IsFolder).text
                               : "Not a regular file");
    }
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(Append, &png, raster.width, raster.height, 3, raster.pixels.data(),
                               raster.width * 3) == 0) {
        return std::string("the picture could not be encoded");
    }
    AtomicFile file(path);
    if (file.Write(png) != SaveOutcome::Saved) {
        return Windows1252ToUtf8(file.Failure().message);
    }
    return std::nullopt;
}

}  // namespace tavlo::cli
