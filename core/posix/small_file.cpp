#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>

#include "core/disk_file.h"
#include "core/posix/posix_io.h"

namespace tavlo {

namespace {

// Reads the open file whole, up to `maxSize` bytes. One byte more than the file says it holds
// shows whether it grew; a file that grew, and one that states no size (those under /proc), is
// read on up to the limit.
SmallFile ReadWhole(int fd, std::size_t statedSize, std::size_t maxSize) {
    SmallFile file;
    std::string& bytes = file.bytes;
    bytes.assign(statedSize + 1, '\0');
    std::size_t got = 0;
    while (true) {
        const std::int64_t n =
            ReadUpTo(fd, reinterpret_cast<std::uint8_t*>(bytes.data()) + got, bytes.size() - got);
        if (n < 0) {
            return SmallFile::Unread(SmallFile::Result::Refused, ErrorText(errno));
        }
        got += static_cast<std::size_t>(n);
        if (got < bytes.size()) {
            break;
        }
        if (got > maxSize) {
            return SmallFile::Unread(SmallFile::Result::TooLarge);
        }
        bytes.resize(maxSize + 1);
    }
    bytes.resize(got);
    file.result = SmallFile::Result::Read;
    return file;
}

}  // namespace

SmallFile ReadSmallFile(const std::string& path, std::size_t maxSize) {
    // O_NONBLOCK: opening a pipe without a writer must not wait for one.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen()) {
        SmallFile file;
        file.errorNumber = errno;
        file.problem = ErrorText(errno);
        return file;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        return SmallFile::Unread(SmallFile::Result::Refused, ErrorText(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return SmallFile::Unread(SmallFile::Result::Refused, ErrorText(EISDIR));
    }
    if (!S_ISREG(info.st_mode)) {
        return SmallFile::Unread(SmallFile::Result::Refused, "Not a regular file");
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        return SmallFile::Unread(SmallFile::Result::TooLarge);
    }
    return ReadWhole(fd.Get(), static_cast<std::size_t>(info.st_size), maxSize);
}

}  // namespace tavlo

namespace tavlo {

std::FILE* OpenStream(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

}  // namespace tavlo
