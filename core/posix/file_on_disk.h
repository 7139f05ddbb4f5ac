#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/posix/atomic_file.h"
#include "core/posix/posix_io.h"

namespace tavlo {

// The file that an image is read from and saved to, found once and then held: the folder that
// holds the file (found after following the links of the name's final component) and the folder
// of the backup name stay open, so a save goes into those very folders whatever happens to their
// paths meanwhile. A file that was read also keeps its stamp, so that a save can tell whether
// the file on disk is still the one that was read.
class FileOnDisk {
public:
    // What stands at the file's name now, against what was read.
    enum class Now {
        AsRead,  // the same file, unchanged (or a file is there and nothing was read to compare)
        Gone,    // nothing has the name any more: the file can be written anew
        Changed  // other contents, size or time, another file or a link at the name, or the
                 // name the user gave now leads to another file
    };

    // Follows the links of `path`'s final component to the file it names (a name that does not
    // exist stays the result). 0 or the errno that stopped it (ELOOP for a loop).
    int FollowLinks(const std::string& path);

    // Opens the folder of the file found and the folder of `backupPath`. 0 or the errno.
    int OpenFolders(const std::string& backupPath);

    // Opens the file for reading, without following a link that took its name since, and
    // remembers it as read. On failure the descriptor is not open and `error` says why.
    UniqueFd OpenToRead(std::uint32_t& size, std::string& error);

    // Looks at the file's name again: the links of the name given to FollowLinks are followed
    // anew (when a file was read), the file itself is looked up in the folder held open, a link
    // there not followed. 0 or the errno that stopped the look.
    int Compare(Now& now) const;

    // True when the backup name is the file's own entry (the same name, or the name that the
    // links of the name given lead to): making the backup would then destroy the file. Another
    // name of the file (a hard link, or a backup name that is a link to the file) is not: the
    // backup takes that name's place and keeps the file's contents.
    bool BackupIsTheFile() const;

    // A save put `written` at the file's name: later saves compare with it.
    void Remember(const FileStamp& written) { read_ = written; }

    FolderEntry File() const { return {fileFolder_.Get(), fileName_, resolved_}; }
    const std::string& ResolvedPath() const { return resolved_; }
    const std::string& BackupPath() const { return backupPath_; }
    FolderEntry Backup() const { return {backupFolder_.Get(), backupName_, backupPath_}; }

private:
    std::string path_;      // as given
    std::string resolved_;  // after following the links of its final component
    UniqueFd fileFolder_;
    std::string fileName_;
    UniqueFd backupFolder_;
    std::string backupName_;
    std::string backupPath_;
    std::optional<FileStamp> read_;
};

}  // namespace tavlo
