#include "core/posix/firmware_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <limits>

namespace tavlo {

namespace {

UniqueFd OpenAt(int folderFd, const std::string& name, int extraFlags, std::uint32_t& size,
                std::string& error) {
    // O_NONBLOCK keeps a named pipe from holding us up; it is refused below like any other
    // file whose length cannot be known in advance.
    UniqueFd file(::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | extraFlags));
    if (!file.IsOpen()) {
        error = ErrorText(errno);
        return file;
    }
    struct stat info;
    if (::fstat(file.Get(), &info) != 0) {
        error = ErrorText(errno);
        return UniqueFd();
    }
    if (S_ISDIR(info.st_mode)) {
        error = ErrorText(EISDIR);
        return UniqueFd();
    }
    if (!S_ISREG(info.st_mode)) {
        error = "Not a regular file";
        return UniqueFd();
    }
    if (static_cast<std::uint64_t>(info.st_size) > std::numeric_limits<std::uint32_t>::max()) {
        error = "The file is too large (4 GiB or more)";
        return UniqueFd();
    }
    size = static_cast<std::uint32_t>(info.st_size);
    return file;
}

}  // namespace

UniqueFd OpenFirmwareFile(const std::string& path, std::uint32_t& size, std::string& error) {
    return OpenAt(AT_FDCWD, path, 0, size, error);
}

}  // namespace tavlo
