#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "core/disk_file.h"
#include "core/posix/posix_io.h"

// Replacing a file without ever losing it: new contents and new backups are first written
// completely under a temporary name in the same folder, flushed, and only then renamed over the
// old name, which swaps the whole file at once.
namespace tavlo {

// A name inside a folder that the caller holds open (see OpenFolder), and the path that shows it
// in messages.
struct FolderEntry {
    int folder = -1;   // not owned
    std::string name;  // one path component
    std::string path;  // for messages only
};

// Makes `backup` hold what `source` holds now (a symbolic link there is not followed). The file
// gets a second name (a hard link) beside the backup, or, where the file system has no hard
// links, a complete flushed copy; that then replaces any earlier backup in one rename.
bool ReplaceBackup(const FolderEntry& source, const FolderEntry& backup, FileFailure& failure);

// New contents for the file `target` (a regular file or a new name; whatever else stands at the
// name other than a folder is replaced, never followed). Write() puts the bytes into a temporary
// file beside the target, flushes them, gives the file the target's permission bits and reads it
// back to compare; Commit() renames it over the target. Until Commit() succeeds the target is
// untouched, and the temporary file is removed again if the replacement is dropped.
class FileReplacement {
public:
    explicit FileReplacement(FolderEntry target) : target_(std::move(target)) {}
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    bool Write(std::span<const std::uint8_t> bytes, FileFailure& failure);
    bool Commit(FileFailure& failure);

    // The file that Commit() put in place, as it stands then.
    const FileStamp& Written() const { return written_; }

private:
    bool Fail(FileFailure& failure, int error);

    FolderEntry target_;
    std::string temporary_;  // name in the target's folder; empty when there is none to clean up
    UniqueFd file_;          // the temporary file, open (and so locked) until it is renamed
    FileStamp written_;
};

}  // namespace tavlo
