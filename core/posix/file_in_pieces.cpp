#include <unistd.h>

#include <cerrno>

#include "core/disk_file.h"
#include "core/posix/firmware_file.h"
#include "core/posix/posix_io.h"

namespace tavlo {

struct FileInPieces::Held {
    UniqueFd file;
};

FileInPieces::FileInPieces() : held_(std::make_unique<Held>()) {}

FileInPieces::~FileInPieces() = default;

bool FileInPieces::Open(const std::string& path, std::uint32_t& size, std::string& error) {
    held_->file = OpenFirmwareFile(path, size, error);
    return held_->file.IsOpen();
}

std::int64_t FileInPieces::ReadOn(std::uint8_t* into, std::size_t count, std::string& error) {
    const std::int64_t got = ReadUpTo(held_->file.Get(), into, count);
    if (got < 0) {
        error = ErrorText(errno);
    }
    return got;
}

bool FileInPieces::ReadAt(std::uint64_t at, char* into, std::size_t count) {
    while (count > 0) {
        const ssize_t got = ::pread(held_->file.Get(), into, count, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        into += got;
        at += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace tavlo
