#include "core/posix/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "core/posix/posix_io.h"
#include "core/windows1252.h"

namespace tavlo {

namespace {

// Read-back and copy buffer: small, so verifying never needs a second copy of the image.
constexpr std::size_t kChunk = std::size_t{1} << 20;

// Tries for a free temporary name before giving up on hard links.
constexpr int kLinkAttempts = 100;

std::string Quoted(const std::string& path) {
    return "'" + PathForMessage(path) + "'";
}

bool HardLinksRefused(int error) {
    return error == EPERM || error == EXDEV || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EMLINK;
}

// Reads the whole file back and compares it with what was meant to be written.
int VerifyContents(int fd, std::span<const std::uint8_t> bytes, bool& same) {
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    same = static_cast<std::uint64_t>(info.st_size) == bytes.size();
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kChunk]);
    std::size_t offset = 0;
    while (same && offset < bytes.size()) {
        const std::size_t want = std::min(kChunk, bytes.size() - offset);
        const ssize_t got = ::pread(fd, buffer.get(), want, static_cast<off_t>(offset));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            same = false;
            break;
        }
        same = std::memcmp(buffer.get(), bytes.data() + offset, static_cast<std::size_t>(got)) == 0;
        offset += static_cast<std::size_t>(got);
    }
    return 0;
}

// A second name for the file beside the backup, then renamed over the backup. Returns 0, or the
// errno of the link (tell "no hard links here" from other causes) or of the rename.
int LinkToBackup(const FolderEntry& source, const FolderEntry& backup, bool& linkFailed) {
    std::string temporary;
    int error = EEXIST;
    for (int attempt = 0; attempt < kLinkAttempts && error == EEXIST; ++attempt) {
        temporary = TemporaryNameBeside(backup.name);
        // No AT_SYMLINK_FOLLOW: the new name is for whatever stands at the source's name.
        error =
            ::linkat(source.folder, source.name.c_str(), backup.folder, temporary.c_str(), 0) == 0
                ? 0
                : errno;
    }
    if (error != 0) {
        linkFailed = true;
        return error;
    }
    error = ::renameat(backup.folder, temporary.c_str(), backup.folder, backup.name.c_str()) == 0
                ? 0
                : errno;
    // Renaming a name onto another name of the same file does nothing; drop the extra name then.
    ::unlinkat(backup.folder, temporary.c_str(), 0);
    return error;
}

// A complete, flushed copy of the file beside the backup, then renamed over the backup.
int CopyToBackup(const FolderEntry& source, const FolderEntry& backup) {
    UniqueFd from(::openat(source.folder, source.name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info;
    if (!from.IsOpen() || ::fstat(from.Get(), &info) != 0) {
        return errno;
    }
    std::string temporary;
    UniqueFd copy = CreateTemporaryBeside(backup.folder, backup.name, temporary);
    if (!copy.IsOpen()) {
        return errno;
    }
    int error = 0;
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kChunk]);
    for (;;) {
        const std::int64_t got = ReadUpTo(from.Get(), buffer.get(), kChunk);
        if (got < 0) {
            error = errno;
            break;
        }
        if (got == 0) {
            break;
        }
        if ((error = WriteAll(copy.Get(), buffer.get(), static_cast<std::size_t>(got))) != 0) {
            break;
        }
    }
    if (error == 0 && ::fsync(copy.Get()) != 0) {
        error = errno;
    }
    if (error == 0 && ::fchmod(copy.Get(), info.st_mode & 07777) != 0) {
        error = errno;
    }
    if (const int closeError = copy.Close(); error == 0) {
        error = closeError;
    }
    if (error == 0 &&
        ::renameat(backup.folder, temporary.c_str(), backup.folder, backup.name.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(backup.folder, temporary.c_str(), 0);
    }
    return error;
}

}  // namespace

bool ReplaceBackup(const FolderEntry& source, const FolderEntry& backup, FileFailure& failure) {
    RemoveLeftoverTemporaries(backup.folder, backup.name);
    bool linkFailed = false;
    int error = LinkToBackup(source, backup, linkFailed);
    if (linkFailed && HardLinksRefused(error)) {
        error = CopyToBackup(source, backup);
    }
    if (error != 0) {
        failure.message =
            "Could not make the backup " + Quoted(backup.path) + ": " + ErrorText(error);
        return false;
    }
    SyncFolder(backup.folder);
    return true;
}

FileReplacement::~FileReplacement() {
    if (!temporary_.empty()) {
        ::unlinkat(target_.folder, temporary_.c_str(), 0);
    }
}

bool FileReplacement::Fail(FileFailure& failure, int error) {
    failure.message = "Could not write " + Quoted(target_.path) + ": " + ErrorText(error);
    if (!temporary_.empty()) {
        ::unlinkat(target_.folder, temporary_.c_str(), 0);
        temporary_.clear();
    }
    return false;
}

bool FileReplacement::Write(std::span<const std::uint8_t> bytes, FileFailure& failure) {
    struct stat existing;
    const bool exists =
        ::fstatat(target_.folder, target_.name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) {
        return Fail(failure, errno);
    }
    if (exists && S_ISDIR(existing.st_mode)) {
        return Fail(failure, EISDIR);
    }
    // Only a regular file has an owner and permission bits worth keeping; a link or anything
    // else at the name is replaced by a new file.
    const bool regular = exists && S_ISREG(existing.st_mode);
    // A file the user may not write stays as it is, even though its folder would allow
    // replacing it.
    if (regular && ::faccessat(target_.folder, target_.name.c_str(), W_OK, 0) != 0) {
        failure.openForWriteFailed = true;
        return Fail(failure, errno);
    }
    RemoveLeftoverTemporaries(target_.folder, target_.name);
    file_ = CreateTemporaryBeside(target_.folder, target_.name, temporary_);
    if (!file_.IsOpen()) {
        failure.openForWriteFailed = true;
        failure.message = "Could not create a temporary file beside " + Quoted(target_.path) +
                          ": " + ErrorText(errno);
        return false;
    }
    if (const int error = WriteAll(file_.Get(), bytes.data(), bytes.size()); error != 0) {
        return Fail(failure, error);
    }
    if (::fsync(file_.Get()) != 0) {
        return Fail(failure, errno);
    }
    if (regular && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Keep the file's owner where we may (as the owner's administrator); else it becomes ours.
        [[maybe_unused]] const int ignored =
            ::fchown(file_.Get(), existing.st_uid, existing.st_gid);
    }
    const mode_t mode = regular ? (existing.st_mode & 07777) : static_cast<mode_t>(NewFileMode());
    if (::fchmod(file_.Get(), mode) != 0) {
        return Fail(failure, errno);
    }
    bool same = false;
    if (const int error = VerifyContents(file_.Get(), bytes, same); error != 0) {
        return Fail(failure, error);
    }
    if (!same) {
        Fail(failure, EIO);
        failure.message = "Could not write " + Quoted(target_.path) +
                          ": the written file does not read back as written";
        return false;
    }
    return true;
}

bool FileReplacement::Commit(FileFailure& failure) {
    if (temporary_.empty()) {
        return Fail(failure, EINVAL);
    }
    if (::renameat(target_.folder, temporary_.c_str(), target_.folder, target_.name.c_str()) != 0) {
        const int error = errno;
        Fail(failure, error);
        failure.message = "Could not replace " + Quoted(target_.path) + ": " + ErrorText(error);
        return false;
    }
    temporary_.clear();
    StampOf(file_.Get(), written_);
    // Closing only now keeps the temporary file locked until it has its final name. Its bytes
    // are already flushed and verified, so what close() says no longer matters.
    file_.Close();
    SyncFolder(target_.folder);
    return true;
}

}  // namespace tavlo
