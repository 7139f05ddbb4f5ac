#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_system.h"
#include "core/posix/posix_io.h"
#include "core/posix/stamp.h"

namespace tavlo::sys {

namespace {

// A descriptor of the folder that can be listed and flushed (the held O_PATH one cannot).
UniqueFd Readable(const Folder& folder) {
    return UniqueFd(::openat(folder.handle->fd.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

FileError Result(int status) {
    return FileErrorOf(status == 0 ? 0 : errno);
}

}  // namespace

Folder::Folder() = default;
Folder::Folder(Folder&&) noexcept = default;
Folder& Folder::operator=(Folder&&) noexcept = default;
Folder::~Folder() = default;

FileError Folder::Open(const std::string& path, Folder& folder) {
    folder.handle = std::make_unique<Handle>();
    folder.handle->path = path;
    folder.handle->fd = UniqueFd(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return Result(folder.handle->fd.IsOpen() ? 0 : -1);
}

const std::string& Folder::Path() const {
    return handle->path;
}

FileError Folder::Stamp(FileStamp& stamp) const {
    return StampOf(".", stamp);
}

FileError Folder::StampOf(const std::string& name, FileStamp& stamp) const {
    struct stat info;
    if (::fstatat(handle->fd.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return FileErrorOf(errno);
    }
    stamp = sys::StampOf(info);
    return {};
}

FileError Folder::CheckWritable(const std::string& name) const {
    if (::faccessat(handle->fd.Get(), name.c_str(), W_OK, AT_SYMLINK_NOFOLLOW) != 0) {
        return FileErrorOf(errno);
    }
    // In a folder with the sticky bit (/tmp), only the file's or the folder's owner may replace
    // or remove it: a second name given to another user's file would stay there for good.
    struct stat folder;
    struct stat file;
    const uid_t self = ::geteuid();
    if (self != 0 && ::fstat(handle->fd.Get(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0 &&
        folder.st_uid != self &&
        ::fstatat(handle->fd.Get(), name.c_str(), &file, AT_SYMLINK_NOFOLLOW) == 0 &&
        file.st_uid != self) {
        return FileErrorOf(EPERM);
    }
    return {};
}

FileError Folder::OpenToRead(const std::string& name, OpenFile& file) const {
    file.handle = std::make_unique<OpenFile::Handle>();
    file.handle->fd = UniqueFd(
        ::openat(handle->fd.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    return Result(file.handle->fd.IsOpen() ? 0 : -1);
}

FileError Folder::CreateNew(const std::string& name, OpenFile& file) const {
    file.handle = std::make_unique<OpenFile::Handle>();
    file.handle->fd = UniqueFd(::openat(handle->fd.Get(), name.c_str(),
                                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.handle->fd.IsOpen()) {
        return FileErrorOf(errno);
    }
    // A new file nobody else knows yet: the lock is always granted.
    ::flock(file.handle->fd.Get(), LOCK_EX | LOCK_NB);
    return {};
}

FileError Folder::Link(const std::string& name, const Folder& to, const std::string& toName) const {
    // No AT_SYMLINK_FOLLOW: the new name is for whatever stands at `name`.
    return Result(::linkat(handle->fd.Get(), name.c_str(), to.handle->fd.Get(), toName.c_str(), 0));
}

FileError Folder::Move(const std::string& name, const Folder& to, const std::string& toName,
                       bool replace) const {
    const int from = handle->fd.Get();
    const int into = to.handle->fd.Get();
    if (replace) {
        return Result(::renameat(from, name.c_str(), into, toName.c_str()));
    }
    if (::renameat2(from, name.c_str(), into, toName.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return FileErrorOf(errno);
    }
    // A file system without RENAME_NOREPLACE: a second name is just as exclusive.
    if (::linkat(from, name.c_str(), into, toName.c_str(), 0) != 0) {
        return FileErrorOf(errno);
    }
    return Result(::unlinkat(from, name.c_str(), 0));
}

FileError Folder::Remove(const std::string& name) const {
    return Result(::unlinkat(handle->fd.Get(), name.c_str(), 0));
}

void Folder::RemoveIfUnused(const std::string& name) const {
    UniqueFd file(
        ::openat(handle->fd.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    // A save in progress holds its files locked.
    if (file.IsOpen() && ::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
        ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0) {
        ::unlinkat(handle->fd.Get(), name.c_str(), 0);
    }
}

std::vector<std::string> Folder::Names() const {
    std::vector<std::string> names;
    UniqueFd readable = Readable(*this);
    DIR* listing = readable.IsOpen() ? ::fdopendir(readable.Get()) : nullptr;
    if (listing == nullptr) {
        return names;
    }
    readable.Release();  // the listing owns it now
    while (const dirent* entry = ::readdir(listing)) {
        names.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    return names;
}

void Folder::Sync() const {
    if (const UniqueFd readable = Readable(*this); readable.IsOpen()) {
        ::fsync(readable.Get());
    }
}

}  // namespace tavlo::sys
