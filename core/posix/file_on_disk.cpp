#include "core/posix/file_on_disk.h"

#include <cerrno>

#include "core/posix/firmware_file.h"
#include "core/posix/link_chain.h"

namespace tavlo {

int FileOnDisk::FollowLinks(const std::string& path) {
    path_ = path;
    if (const int error = ResolveLinkChain(path, resolved_); error != 0) {
        return error;
    }
    fileName_ = FinalComponentOf(resolved_);
    // "folder/" names a folder, never a file in it.
    return fileName_.empty() ? EISDIR : 0;
}

int FileOnDisk::OpenFolders(const std::string& backupPath) {
    fileFolder_ = OpenFolder(FolderOf(resolved_));
    if (!fileFolder_.IsOpen()) {
        return errno;
    }
    backupPath_ = backupPath;
    backupName_ = FinalComponentOf(backupPath);
    backupFolder_ = OpenFolder(FolderOf(backupPath));
    return backupFolder_.IsOpen() ? 0 : errno;
}

UniqueFd FileOnDisk::OpenToRead(std::uint32_t& size, std::string& error) {
    UniqueFd file = OpenFirmwareFileIn(fileFolder_.Get(), fileName_, size, error);
    FileStamp stamp;
    if (!file.IsOpen()) {
        return file;
    }
    // Taken before the bytes are read: a change while they are read shows as a change later.
    if (const int failed = StampOf(file.Get(), stamp); failed != 0) {
        error = ErrorText(failed);
        return UniqueFd();
    }
    read_ = stamp;
    return file;
}

int FileOnDisk::Compare(Now& now) const {
    std::string resolvedNow = resolved_;
    if (read_) {
        if (const int error = ResolveLinkChain(path_, resolvedNow); error != 0) {
            return error;
        }
    }
    FileStamp stamp;
    const int error = StampAt(fileFolder_.Get(), fileName_, /*followLinks=*/false, stamp);
    if (error != 0 && error != ENOENT) {
        return error;
    }
    if (resolvedNow != resolved_) {
        now = Now::Changed;
    } else if (error == ENOENT) {
        now = Now::Gone;
    } else if (read_ && !stamp.IsUnchangedFrom(*read_)) {
        now = Now::Changed;
    } else {
        now = Now::AsRead;
    }
    return 0;
}

bool FileOnDisk::BackupIsTheFile() const {
    // The backup step gives the file a second name and renames that over the backup name, which
    // is not followed if it is a link; so only a backup name that is the very entry the file
    // stands under (the file's name after its links were followed) loses the file.
    FileStamp file;
    FileStamp backup;
    if (StampAt(fileFolder_.Get(), fileName_, /*followLinks=*/false, file) != 0 ||
        StampAt(backupFolder_.Get(), backupName_, /*followLinks=*/false, backup) != 0 ||
        !file.IsSameFile(backup)) {
        return false;
    }
    FileStamp fileFolder;
    FileStamp backupFolder;
    const bool sameName = backupName_ == fileName_ && StampOf(fileFolder_.Get(), fileFolder) == 0 &&
                          StampOf(backupFolder_.Get(), backupFolder) == 0 &&
                          fileFolder.IsSameFile(backupFolder);
    // Two names of one file are two entries (hard links, as a killed save leaves them), unless
    // the file has one name only: then a file system that ignores case took two spellings of it
    // for one entry.
    return sameName || file.links == 1;
}

}  // namespace tavlo
