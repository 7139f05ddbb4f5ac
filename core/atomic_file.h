#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/file_failure.h"
#include "core/file_on_disk.h"

namespace tavlo {

// How a save ended.
enum class SaveOutcome {
    Saved,
    Failed,       // FileFailure says why
    FileChanged,  // the file on disk is not the one that was read: nothing was written
};

// What a save does when the file on disk is no longer the one that was read.
enum class IfFileChanged { Keep, Overwrite };

// Writes a whole file so that it is never lost: the new contents go to a temporary file beside
// it, are flushed and read back, and replace the file in one step only then. With a backup, what
// stands at the file's name becomes the backup, and an older backup is kept aside until the file
// has been replaced, and put back when it cannot be: on failure the file and its old backup are
// as they were, and nothing the save made is left behind. A file named through symbolic links stays
// so: the file they lead to is replaced. From its check of the file to its commit a save holds the
// file's lock, so of two saves of one file read at the same time only the first gets past its
// check.
class AtomicFile {
public:
    // `path`: the file as the user named it.
    explicit AtomicFile(std::string path) : path_(std::move(path)) {}

    // What stands at the file's name becomes the backup `backupPath` (replacing an older one).
    void KeepBackupAs(std::string backupPath) { backupPath_ = std::move(backupPath); }

    // The file was read as `asRead`: when it is no longer so (other contents or times, another
    // file, the name or its folder leading elsewhere), the save writes nothing and says
    // FileChanged, unless told to overwrite, which replaces whatever stands at the name (a link
    // put there is replaced, never followed).
    void ExpectAsRead(const FileAsRead& asRead, IfFileChanged ifChanged) {
        asRead_ = asRead;
        ifChanged_ = ifChanged;
    }

    SaveOutcome Write(std::span<const std::uint8_t> bytes);

    const FileFailure& Failure() const { return failure_; }
    // FileChanged: what changed, in words ("was replaced by another file").
    const std::string& Change() const { return change_; }
    // Whether the save made a backup (none when nothing stood at the file's name).
    bool BackupMade() const { return backupMade_; }
    // After a save: the file written, for the next save to compare with.
    const std::optional<FileAsRead>& NowAsRead() const { return nowAsRead_; }

private:
    struct Target;
    class Made;
    SaveOutcome Fail(FileFailure failure);
    bool Refused(Target& target);
    std::optional<FileFailure> FileRefusal(Target& target) const;
    std::optional<FileFailure> BackupRefusal(Target& target) const;
    bool WriteTemporary(Target& target, std::span<const std::uint8_t> bytes, Made& made,
                        std::string& temporary);
    enum class Look { AsRead, Changed, Failed };
    Look LookAgain(Target& target, bool& gone);
    bool SameContents(Target& target) const;
    SaveOutcome Commit(Target& target, const std::string& temporary, Made& made, bool gone);
    bool BackUp(Target& target, Made& made, std::string& oldBackup);
    void PutBackOldBackup(Target& target, const std::string& oldBackup);
    void Remember(Target& target);

    std::string path_;
    std::optional<std::string> backupPath_;
    std::optional<FileAsRead> asRead_;
    IfFileChanged ifChanged_ = IfFileChanged::Overwrite;
    FileFailure failure_;
    std::string change_;
    bool backupMade_ = false;
    std::optional<FileAsRead> nowAsRead_;
};

// The names of the temporary files a save of `name` makes beside it: "<name>.tavlo-" and twelve
// lowercase hexadecimal digits. Only names of exactly this shape are ever removed as leftovers.
std::string TemporaryNameFor(const std::string& name);
bool IsTemporaryNameOf(const std::string& entry, const std::string& name);

}  // namespace tavlo
