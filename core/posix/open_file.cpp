#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_system.h"
#include "core/posix/posix_io.h"
#include "core/posix/stamp.h"

namespace tavlo::sys {

OpenFile::OpenFile() = default;
OpenFile::OpenFile(OpenFile&&) noexcept = default;
OpenFile& OpenFile::operator=(OpenFile&&) noexcept = default;
OpenFile::~OpenFile() = default;

bool OpenFile::IsOpen() const {
    return handle && handle->fd.IsOpen();
}

FileError OpenFile::Stamp(FileStamp& stamp) const {
    struct stat info;
    if (::fstat(handle->fd.Get(), &info) != 0) {
        return FileErrorOf(errno);
    }
    stamp = StampOf(info);
    return {};
}

FileError OpenFile::Write(std::span<const std::uint8_t> bytes) {
    return FileErrorOf(WriteAll(handle->fd.Get(), bytes.data(), bytes.size()));
}

FileError OpenFile::Flush() {
    return FileErrorOf(::fsync(handle->fd.Get()) == 0 ? 0 : errno);
}

FileError OpenFile::ReadAt(std::uint64_t offset, std::uint8_t* into, std::size_t count,
                           std::size_t& got) const {
    got = 0;
    while (got < count) {
        const ssize_t n =
            ::pread(handle->fd.Get(), into + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return FileErrorOf(errno);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return {};
}

FileError OpenFile::TakeModeOf(const FileStamp* like) {
    const int fd = handle->fd.Get();
    if (like && (like->owner != ::geteuid() || like->group != ::getegid())) {
        // The owner's administrator keeps the file's owner; anyone else makes it their own.
        [[maybe_unused]] const int ignored = ::fchown(fd, like->owner, like->group);
    }
    const mode_t mode = like ? like->permissions : static_cast<mode_t>(NewFileMode());
    return FileErrorOf(::fchmod(fd, mode) == 0 ? 0 : errno);
}

void OpenFile::Close() {
    handle.reset();
}

}  // namespace tavlo::sys
