#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/file_system.h"
#include "core/posix/posix_io.h"
#include "core/posix/stamp.h"

namespace tavlo::sys {

struct SaveLock::Handle {
    UniqueFd fd;
};

SaveLock::SaveLock() = default;
SaveLock::SaveLock(SaveLock&&) noexcept = default;
SaveLock& SaveLock::operator=(SaveLock&&) noexcept = default;
SaveLock::~SaveLock() = default;

FileError SaveLock::Take(const Folder& folder, const std::string& name, FileStamp& locked) {
    // flock() on the file itself: every save of it takes the same lock, and it goes with the
    // process, so nothing is ever left behind.
    handle = std::make_unique<Handle>();
    handle->fd = UniqueFd(::openat(folder.handle->fd.Get(), name.c_str(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!handle->fd.IsOpen()) {
        return FileErrorOf(errno);
    }
    while (::flock(handle->fd.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            return FileErrorOf(errno);
        }
    }
    struct stat info;
    if (::fstat(handle->fd.Get(), &info) != 0) {
        return FileErrorOf(errno);
    }
    locked = StampOf(info);
    return {};
}

FileError ReadLink(const std::string& path, bool& isLink, std::string& target) {
    struct stat info;
    isLink = false;
    if (::lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? FileError{} : FileErrorOf(errno);
    }
    if (!S_ISLNK(info.st_mode)) {
        return {};
    }
    std::string text(256, '\0');
    for (;;) {
        const ssize_t size = ::readlink(path.c_str(), text.data(), text.size());
        if (size < 0) {
            return FileErrorOf(errno);
        }
        if (static_cast<std::size_t>(size) < text.size()) {
            text.resize(static_cast<std::size_t>(size));
            break;
        }
        text.resize(text.size() * 2);  // the text may have been cut; try with more room
    }
    isLink = true;
    target = std::move(text);
    return {};
}

FileError StampPath(const std::string& path, FileStamp& stamp) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        return FileErrorOf(errno);
    }
    stamp = StampOf(info);
    return {};
}

bool IsAbsolutePath(const std::string& path) {
    return path.starts_with('/');
}

FileError ErrorOf(FileError::Kind kind) {
    switch (kind) {
        case FileError::Kind::IsFolder:
            return FileErrorOf(EISDIR);
        case FileError::Kind::Denied:
            return FileErrorOf(EACCES);
        case FileError::Kind::NotFound:
            return FileErrorOf(ENOENT);
        case FileError::Kind::TooManyLinks:
            return FileErrorOf(ELOOP);
        default:
            return FileErrorOf(EIO);
    }
}

}  // namespace tavlo::sys
