#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_system.h"
#include "core/posix/posix_io.h"
#include "core/posix/stamp.h"

namespace tavlo::sys {

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
