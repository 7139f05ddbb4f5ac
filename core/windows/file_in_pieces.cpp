#include "core/disk_file.h"
#include "core/windows/win_io.h"

namespace tavlo {

struct FileInPieces::Held {
    UniqueHandle file;
    std::uint64_t next = 0;  // where ReadOn goes on
};

FileInPieces::FileInPieces() : held_(std::make_unique<Held>()) {}

FileInPieces::~FileInPieces() = default;

bool FileInPieces::Open(const std::string& path, std::uint32_t& size, std::string& error) {
    held_->file = OpenFirmwareFile(SystemPath(path), size, error);
    held_->next = 0;
    return held_->file.IsOpen();
}

namespace {

// ReadFile at an offset moves the file pointer of a synchronous handle, so every read names
// its offset and the reader keeps its own place.
std::int64_t ReadFrom(HANDLE file, std::uint64_t at, char* into, std::size_t count, DWORD& error) {
    std::size_t total = 0;
    while (total < count) {
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at + total);
        where.OffsetHigh = static_cast<DWORD>((at + total) >> 32);
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
        if (!ReadFile(file, into + total, want, &got, &where)) {
            error = GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                break;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return static_cast<std::int64_t>(total);
}

}  // namespace

std::int64_t FileInPieces::ReadOn(std::uint8_t* into, std::size_t count, std::string& error) {
    DWORD failed = 0;
    const std::int64_t got =
        ReadFrom(held_->file.Get(), held_->next, reinterpret_cast<char*>(into), count, failed);
    if (got < 0) {
        error = WinErrorText(failed);
        return got;
    }
    held_->next += static_cast<std::uint64_t>(got);
    return got;
}

bool FileInPieces::ReadAt(std::uint64_t at, char* into, std::size_t count) {
    DWORD failed = 0;
    return ReadFrom(held_->file.Get(), at, into, count, failed) == static_cast<std::int64_t>(count);
}

}  // namespace tavlo
