#include "core/posix/posix_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string_view>

namespace tavlo {

namespace {

// Linux hands out at most this much per read() or write() call anyway.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

const char kTemporaryInfix[] = ".tavlo-";

// Tries for a free temporary name; with 62^6 names a clash is already unlikely.
constexpr int kTemporaryAttempts = 100;

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

bool FileStamp::IsRegularFile() const {
    return type == S_IFREG;
}

bool FileStamp::IsFolder() const {
    return type == S_IFDIR;
}

namespace {

FileStamp StampFromStat(const struct stat& info) {
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.type = static_cast<unsigned>(info.st_mode & S_IFMT);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    stamp.links = static_cast<std::uint64_t>(info.st_nlink);
    return stamp;
}

// A descriptor of the folder that can be listed and flushed (OpenFolder's cannot).
UniqueFd OpenFolderForReading(int folderFd) {
    return UniqueFd(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

int StampOf(int fd, FileStamp& stamp) {
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    stamp = StampFromStat(info);
    return 0;
}

int StampAt(int folderFd, const std::string& name, bool followLinks, FileStamp& stamp) {
    struct stat info;
    if (::fstatat(folderFd, name.c_str(), &info, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    stamp = StampFromStat(info);
    return 0;
}

UniqueFd OpenFolder(const std::string& folder) {
    return UniqueFd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

UniqueFd CreateTemporaryBeside(int folderFd, const std::string& name, std::string& temporaryName) {
    int fd = -1;
    for (int attempt = 0; attempt < kTemporaryAttempts && fd < 0; ++attempt) {
        temporaryName = TemporaryNameBeside(name);
        fd = ::openat(folderFd, temporaryName.c_str(),
                      O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        temporaryName.clear();
        return UniqueFd();
    }
    // A fresh file nobody else knows yet: the lock is always granted.
    ::flock(fd, LOCK_EX | LOCK_NB);
    return UniqueFd(fd);
}

std::string TemporaryNameBeside(const std::string& name) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937_64 generator(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string temporary = name + kTemporaryInfix;
    for (int i = 0; i < 6; ++i) {
        temporary += kLetters[pick(generator)];
    }
    return temporary;
}

void RemoveLeftoverTemporaries(int folderFd, const std::string& name) {
    const std::string prefix = name + kTemporaryInfix;
    UniqueFd readable = OpenFolderForReading(folderFd);
    DIR* listing = readable.IsOpen() ? ::fdopendir(readable.Get()) : nullptr;
    if (listing == nullptr) {
        return;
    }
    readable.Release();  // the listing owns it now
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view entryName = entry->d_name;
        if (entryName.size() != prefix.size() + 6 || !entryName.starts_with(prefix)) {
            continue;
        }
        UniqueFd leftover(
            ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        FileStamp stamp;
        // Only a regular file that no running save holds locked is a leftover.
        if (leftover.IsOpen() && StampOf(leftover.Get(), stamp) == 0 && stamp.IsRegularFile() &&
            ::flock(leftover.Get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FinalComponentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SyncFolder(int folderFd) {
    const UniqueFd readable = OpenFolderForReading(folderFd);
    if (readable.IsOpen()) {
        ::fsync(readable.Get());
    }
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
