#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace tavlo::sys
