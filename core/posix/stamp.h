#pragma once

#include <sys/stat.h>

#include "core/file_system.h"
#include "core/posix/posix_io.h"

namespace tavlo::sys {

struct OpenFile::Handle {
    UniqueFd fd;
};

struct Folder::Handle {
    UniqueFd fd;  // O_PATH: holds the folder without needing to list it
    std::string path;
};

// What stat() says, as the file layer's stamp.
inline FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    switch (info.st_mode & S_IFMT) {
        case S_IFREG:
            stamp.type = FileStamp::Type::File;
            break;
        case S_IFDIR:
            stamp.type = FileStamp::Type::Folder;
            break;
        case S_IFLNK:
            stamp.type = FileStamp::Type::Link;
            break;
        default:
            stamp.type = FileStamp::Type::Other;
            break;
    }
    stamp.volume = static_cast<std::uint64_t>(info.st_dev);
    stamp.index = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modified = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
    stamp.changed = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
    stamp.links = static_cast<std::uint64_t>(info.st_nlink);
    stamp.permissions = info.st_mode & 07777;
    stamp.owner = info.st_uid;
    stamp.group = info.st_gid;
    return stamp;
}

}  // namespace tavlo::sys
