#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "core/posix_io.h"

// Replacing a file without ever losing it: new contents and new backups are first written
// completely under a temporary name in the same folder, flushed, and only then renamed over the
// old name, which swaps the whole file at once.
namespace tavlo {

struct FileFailure {
    bool openForWriteFailed = false;  // the file could not be written at all (nothing was done)
    std::string message;              // names the file and the cause in plain words
};

// Makes `backupPath` hold what the file at `sourcePath` holds now. The file gets a second name
// (a hard link) beside the backup, or, where the file system has no hard links, a complete
// flushed copy; that then replaces any earlier backup in one rename.
bool ReplaceBackup(const std::string& sourcePath, const std::string& backupPath,
                   FileFailure& failure);

// New contents for the file `targetPath` (a real file or a new name, not a symbolic link).
// Write() puts the bytes into a temporary file beside the target, flushes them, gives the file
// the target's permission bits and reads it back to compare; Commit() renames it over the
// target. Until Commit() succeeds the target is untouched, and the temporary file is removed
// again if the replacement is dropped.
class FileReplacement {
public:
    explicit FileReplacement(std::string targetPath) : target_(std::move(targetPath)) {}
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    bool Write(std::span<const std::uint8_t> bytes, FileFailure& failure);
    bool Commit(FileFailure& failure);

private:
    bool Fail(FileFailure& failure, int error);

    std::string target_;
    std::string temporary_;  // empty when there is no temporary file to clean up
    UniqueFd file_;          // the temporary file, open (and so locked) until it is renamed
};

}  // namespace tavlo
