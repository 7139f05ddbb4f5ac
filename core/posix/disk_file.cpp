#include "core/disk_file.h"

#include <cerrno>

#include "core/posix/atomic_file.h"
#include "core/posix/file_on_disk.h"
#include "core/posix/posix_io.h"
#include "core/windows1252.h"

namespace tavlo {

namespace {

std::string Quoted(const std::string& path) {
    return "'" + PathForMessage(path) + "'";
}

}  // namespace

struct DiskFile::Held {
    FileOnDisk disk;
    UniqueFd reading;  // the file between OpenToRead and ReadOpened
};

DiskFile::DiskFile() : held_(std::make_unique<Held>()) {}

DiskFile::~DiskFile() = default;

bool DiskFile::Find(const std::string& path, std::string& error) {
    if (const int failed = held_->disk.FollowLinks(path); failed != 0) {
        error = ErrorText(failed);
        return false;
    }
    return true;
}

bool DiskFile::OpenFolders(const std::string& backupPath, std::string& error) {
    if (const int failed = held_->disk.OpenFolders(backupPath); failed != 0) {
        error = ErrorText(failed);
        return false;
    }
    return true;
}

bool DiskFile::OpenToRead(std::uint32_t& size, std::string& error) {
    held_->reading = held_->disk.OpenToRead(size, error);
    return held_->reading.IsOpen();
}

std::int64_t DiskFile::ReadOpened(std::uint8_t* buffer, std::uint32_t size, std::string& error) {
    const std::int64_t got = ReadUpTo(held_->reading.Get(), buffer, size);
    if (got < 0) {
        error = ErrorText(errno);
    }
    held_->reading = UniqueFd();
    return got;
}

bool DiskFile::BackupIsTheFile() const {
    return held_->disk.BackupIsTheFile();
}

SaveOutcome DiskFile::Replace(std::span<const std::uint8_t> bytes, bool makeBackup,
                              IfFileChanged ifChanged, const std::string& shownName,
                              FileFailure& failure) {
    FileOnDisk& disk = held_->disk;
    // The new contents are complete and verified before anything on disk changes, so a failed
    // write costs neither the file nor the previous backup.
    const FolderEntry file = disk.File();
    FileReplacement replacement(file);
    if (!replacement.Write(bytes, failure)) {
        return SaveOutcome::Failed;
    }
    // Looked at as late as possible: right before the file on disk is replaced.
    FileOnDisk::Now now = FileOnDisk::Now::AsRead;
    if (const int error = disk.Compare(now); error != 0) {
        failure.message = "Could not write " + Quoted(shownName) + ": " + ErrorText(error);
        return SaveOutcome::Failed;
    }
    if (now == FileOnDisk::Now::Changed && ifChanged == IfFileChanged::Keep) {
        return SaveOutcome::FileChanged;
    }
    // What stands at the name now becomes the backup; nothing there, nothing to keep.
    if (makeBackup && now != FileOnDisk::Now::Gone &&
        !ReplaceBackup(file, disk.Backup(), failure)) {
        return SaveOutcome::Failed;
    }
    if (!replacement.Commit(failure)) {
        return SaveOutcome::Failed;
    }
    disk.Remember(replacement.Written());
    return SaveOutcome::Saved;
}

const std::string& DiskFile::FilePath() const {
    return held_->disk.ResolvedPath();
}

const std::string& DiskFile::BackupPath() const {
    return held_->disk.BackupPath();
}

}  // namespace tavlo
