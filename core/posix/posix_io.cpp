#include "core/posix/posix_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tavlo {

namespace {

// Linux hands out at most this much per read() or write() call anyway.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    Close();
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

int UniqueFd::Close() {
    if (fd_ < 0) {
        return 0;
    }
    // close() must not be retried on EINTR: the descriptor is gone either way.
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

sys::FileError FileErrorOf(int error) {
    using Kind = sys::FileError::Kind;
    Kind kind = Kind::Other;
    switch (error) {
        case 0:
            return {};
        case ENOENT:
            kind = Kind::NotFound;
            break;
        case EEXIST:
            kind = Kind::Exists;
            break;
        case EACCES:
            kind = Kind::Denied;
            break;
        case EISDIR:
            kind = Kind::IsFolder;
            break;
        case ELOOP:
            kind = Kind::TooManyLinks;
            break;
        // A file system without hard links, one that refuses them for this file (another
        // user's, with protected hard links; an append-only one), or another device.
        case EPERM:
        case EXDEV:
        case ENOTSUP:
        case EMLINK:
            kind = Kind::NoHardLinks;
            break;
        default:
            break;
    }
    return {kind, ErrorText(error)};
}

int WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, std::min(size, kMaxTransfer));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;  // a write that makes no progress would loop for ever
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

std::int64_t ReadUpTo(int fd, std::uint8_t* buffer, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::read(fd, buffer + total, std::min(size - total, kMaxTransfer));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(total);
}

unsigned NewFileMode() {
    // umask() can only be read by setting it, and for a moment that would hold for every thread
    // of the process; the kernel states it in /proc instead ("Umask:\t0022").
    UniqueFd status(::open("/proc/self/status", O_RDONLY | O_CLOEXEC));
    char text[4096];
    const std::int64_t got =
        status.IsOpen()
            ? ReadUpTo(status.Get(), reinterpret_cast<std::uint8_t*>(text), sizeof text - 1)
            : -1;
    if (got > 0) {
        text[got] = '\0';
        if (const char* line = std::strstr(text, "\nUmask:")) {
            char* end = nullptr;
            const unsigned long mask = std::strtoul(line + 7, &end, 8);
            if (end != line + 7) {
                return 0666u & ~static_cast<unsigned>(mask);
            }
        }
    }
    // Without /proc: readable and writable by the owner only, never more than the user meant.
    return 0600u;
}

}  // namespace tavlo
