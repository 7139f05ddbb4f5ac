#include "core/atomic_file.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "core/ascii.h"
#include "core/file_names.h"

// The one save there is. In order: find the file (links followed) and hold its folder; refuse a
// folder, a write-protected file or backup, and a backup name that is the file itself; write the
// new contents beside the file, flush them and read them back; take the file's lock and only
// then look whether it is still the file that was read; remove what killed saves left; give the
// file's present contents a temporary name beside the backup, set the old backup aside under
// another and let the new one take the backup's name; replace the file; drop the old backup,
// or on failure put it back. Whatever fails, what the save made goes again.
namespace tavlo {

namespace {

using sys::FileError;
using sys::FileStamp;
using Kind = sys::FileError::Kind;
using Type = sys::FileStamp::Type;

constexpr char kTemporaryInfix[] = ".tavlo-";
constexpr std::size_t kTemporaryDigits = 12;
// Tries for a free temporary name; with 16^12 names a clash is already unlikely.
constexpr int kAttempts = 100;
// How long a commit that the system refuses is tried again.
constexpr int kCommitAttempts = 20;
constexpr std::chrono::milliseconds kCommitPause{25};
// Read-back and copy buffer: small, so verifying never needs a second copy of the image.
constexpr std::size_t kChunk = std::size_t{1} << 20;

const char kRenameAdvice[] =
    "Please rename the file, so that its backup gets a name of its own, and try again.";
const char kProtectedFileAdvice[] = "The file is write-protected: make it writable and save again.";
const char kBusyAdvice[] = "Another program may hold the file open: close it there and save again.";
const char kProtectedBackupAdvice[] =
    "The backup is write-protected: make it writable, or move it away, and save again.";

// A file that may not be written is refused before anything is done: "Open for write failed",
// and what to do when the cause is its protection.
FileFailure Protected(const char* what, const std::string& path, const FileError& error,
                      const char* advice) {
    FileFailure failure = FileFailure::Of(what, path, error.text);
    failure.openForWriteFailed = true;
    if (error.kind == Kind::Denied) {
        failure.advice = advice;
    }
    return failure;
}

bool SameName(std::string_view a, std::string_view b) {
    return kNamesIgnoreCase ? EqualIgnoringAsciiCase(a, b) : a == b;
}

FileError CreateTemporary(const sys::Folder& folder, const std::string& besideName,
                          std::string& temporary, sys::OpenFile& file) {
    FileError error;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = TemporaryNameFor(besideName);
        if ((error = folder.CreateNew(temporary, file)).kind != Kind::Exists) {
            break;
        }
    }
    return error;
}

// A second name for `name`, beside `besideName` in `to`.
FileError LinkTemporary(const sys::Folder& from, const std::string& name, const sys::Folder& to,
                        const std::string& besideName, std::string& temporary) {
    FileError error;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = TemporaryNameFor(besideName);
        if ((error = from.Link(name, to, temporary)).kind != Kind::Exists) {
            break;
        }
    }
    return error;
}

// Reads the whole file back and compares it with what was meant to be written.
FileError Verify(const sys::OpenFile& file, std::span<const std::uint8_t> bytes, bool& same) {
    FileStamp stamp;
    if (FileError error = file.Stamp(stamp)) {
        return error;
    }
    same = stamp.size == bytes.size();
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kChunk]);
    for (std::size_t offset = 0; same && offset < bytes.size();) {
        std::size_t got = 0;
        if (FileError error =
                file.ReadAt(offset, buffer.get(), std::min(kChunk, bytes.size() - offset), got)) {
            return error;
        }
        same = got > 0 && std::memcmp(buffer.get(), bytes.data() + offset, got) == 0;
        offset += got;
    }
    return {};
}

// Copies the open file `from` into `to` and flushes it.
FileError CopyContents(const sys::OpenFile& from, sys::OpenFile& to) {
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kChunk]);
    for (std::uint64_t offset = 0;;) {
        std::size_t got = 0;
        if (FileError error = from.ReadAt(offset, buffer.get(), kChunk, got)) {
            return error;
        }
        if (got == 0) {
            return to.Flush();
        }
        if (FileError error = to.Write({buffer.get(), got})) {
            return error;
        }
        offset += got;
    }
}

// Removes the temporary files of `name` that saves which never finished (a kill, a power cut)
// left beside it; those of a save in progress are held and stay.
void RemoveLeftovers(const sys::Folder& folder, const std::string& name) {
    for (const std::string& entry : folder.Names()) {
        if (IsTemporaryNameOf(entry, name)) {
            folder.RemoveIfUnused(entry);
        }
    }
}

}  // namespace

std::string TemporaryNameFor(const std::string& name) {
    static std::mt19937_64 generator(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::string temporary = name + kTemporaryInfix;
    for (std::size_t i = 0; i < kTemporaryDigits; ++i) {
        temporary += "0123456789abcdef"[generator() % 16];
    }
    return temporary;
}

bool IsTemporaryNameOf(const std::string& entry, const std::string& name) {
    const std::string prefix = name + kTemporaryInfix;
    if (entry.size() != prefix.size() + kTemporaryDigits ||
        !SameName(std::string_view(entry).substr(0, prefix.size()), prefix)) {
        return false;
    }
    return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The temporary names a save made, removed again unless the save let them go.
class AtomicFile::Made {
public:
    Made() = default;
    Made(const Made&) = delete;
    Made& operator=(const Made&) = delete;
    ~Made() {
        for (const auto& [folder, name] : names_) {
            folder->Remove(name);
        }
    }
    void Add(const sys::Folder& folder, const std::string& name) {
        names_.emplace_back(&folder, name);
    }
    void Drop(const std::string& name) {
        std::erase_if(names_, [&](const auto& entry) { return entry.second == name; });
    }

private:
    std::vector<std::pair<const sys::Folder*, std::string>> names_;
};

// The file and its backup as this save found them.
struct AtomicFile::Target {
    std::string resolved;
    std::string name;
    sys::Folder folder;
    FileStamp folderStamp;
    std::optional<FileStamp> file;  // what stood at the name when the save began
    sys::OpenFile temporaryFile;    // held (so no cleanup takes it) until just before the commit
    sys::SaveLock lock;
    std::uint64_t writtenDigest = 0;
    std::string backupName;
    sys::Folder backupFolder;
};

SaveOutcome AtomicFile::Fail(FileFailure failure) {
    failure_ = std::move(failure);
    return SaveOutcome::Failed;
}

SaveOutcome AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    failure_ = {};
    change_.clear();
    backupMade_ = false;
    nowAsRead_.reset();
    // A file that was read goes back where its name led then; whether it still leads there is
    // looked at under the lock.
    Target target;
    if (asRead_) {
        target.resolved = asRead_->resolved;
    } else if (FileError error = FollowLinks(path_, target.resolved)) {
        return Fail(FileFailure::Of("Could not write", path_, error.text));
    }
    target.name = FinalComponentOf(target.resolved);
    if (target.name.empty()) {  // "folder/" names no file
        return Fail(FileFailure::Of("Could not write", path_, sys::ErrorOf(Kind::IsFolder).text));
    }
    FileError error = sys::Folder::Open(FolderOf(target.resolved), target.folder);
    if (!error) {
        error = target.folder.Stamp(target.folderStamp);
    }
    if (!error && backupPath_) {
        target.backupName = FinalComponentOf(*backupPath_);
        error = sys::Folder::Open(FolderOf(*backupPath_), target.backupFolder);
    }
    if (error) {
        FileFailure failure = FileFailure::Of("Could not write", path_, error.text);
        failure.openForWriteFailed = true;
        return Fail(std::move(failure));
    }
    if (Refused(target)) {
        return SaveOutcome::Failed;
    }
    Made made;
    std::string temporary;
    if (!WriteTemporary(target, bytes, made, temporary)) {
        return SaveOutcome::Failed;
    }
    bool gone = false;
    const Look look = LookAgain(target, gone);
    if (look == Look::Failed) {
        return SaveOutcome::Failed;
    }
    if (look == Look::Changed && ifChanged_ == IfFileChanged::Keep) {
        return SaveOutcome::FileChanged;
    }
    return Commit(target, temporary, made, gone);
}

bool AtomicFile::Refused(Target& target) {
    std::optional<FileFailure> refusal = FileRefusal(target);
    if (!refusal && backupPath_) {
        refusal = BackupRefusal(target);
    }
    if (refusal) {
        Fail(std::move(*refusal));
    }
    return refusal.has_value();
}

std::optional<FileFailure> AtomicFile::FileRefusal(Target& target) const {
    FileStamp file;
    const FileError error = target.folder.StampOf(target.name, file);
    if (error.kind == Kind::NotFound) {
        return std::nullopt;  // a new file
    }
    if (error) {
        return FileFailure::Of("Could not write", path_, error.text);
    }
    target.file = file;
    if (file.type == Type::Folder) {
        return FileFailure::Of("Could not write", path_, sys::ErrorOf(Kind::IsFolder).text);
    }
    // A file the user may not write stays as it is, though its folder would let it be replaced.
    if (file.type == Type::File) {
        if (const FileError denied = target.folder.CheckWritable(target.name)) {
            return Protected("Could not write", path_, denied, kProtectedFileAdvice);
        }
    }
    return std::nullopt;
}

std::optional<FileFailure> AtomicFile::BackupRefusal(Target& target) const {
    FileStamp backup;
    FileError error = target.backupFolder.StampOf(target.backupName, backup);
    if (error.kind == Kind::NotFound) {
        return std::nullopt;  // the first backup
    }
    if (!error && backup.type == Type::Folder) {
        error = sys::ErrorOf(Kind::IsFolder);
    }
    if (error) {
        return FileFailure::Of("Could not make the backup", *backupPath_, error.text);
    }
    // The backup takes a name's place; only when that name is the very entry the file stands
    // under does the file go. Two names of one file are two entries, unless the file has one
    // name only: then a file system that ignores case took two spellings for one entry.
    // The file is looked at again: another save that has just committed leaves the file this
    // save found under the backup name alone, for a moment, and a new file at the file's name.
    FileStamp backupFolder;
    FileStamp fileNow;
    const bool sameEntry = SameName(target.backupName, target.name) &&
                           !target.backupFolder.Stamp(backupFolder) &&
                           backupFolder.IsSameFile(target.folderStamp);
    if (target.file && backup.IsSameFile(*target.file) && (sameEntry || backup.links == 1) &&
        !target.folder.StampOf(target.name, fileNow) && fileNow.IsSameFile(backup)) {
        FileFailure failure =
            FileFailure::Of("Could not make the backup", *backupPath_,
                            "the backup would replace the file " + Quoted(path_) + " itself");
        failure.advice = kRenameAdvice;
        return failure;
    }
    // A write-protected backup is refused like a write-protected file.
    if (backup.type == Type::File) {
        if (const FileError denied = target.backupFolder.CheckWritable(target.backupName)) {
            return Protected("Could not make the backup", *backupPath_, denied,
                             kProtectedBackupAdvice);
        }
    }
    return std::nullopt;
}

bool AtomicFile::WriteTemporary(Target& target, std::span<const std::uint8_t> bytes, Made& made,
                                std::string& temporary) {
    sys::OpenFile& file = target.temporaryFile;
    if (FileError error = CreateTemporary(target.folder, target.name, temporary, file)) {
        FileFailure failure =
            FileFailure::Of("Could not create a temporary file beside", path_, error.text);
        failure.openForWriteFailed = true;
        Fail(std::move(failure));
        return false;
    }
    made.Add(target.folder, temporary);
    // Only a regular file has an owner and permission bits worth keeping; a new file, or one
    // that replaces a link or anything else, gets those of a new file.
    const bool regular = target.file && target.file->type == Type::File;
    FileError error = file.Write(bytes);
    bool same = false;
    if (!error && !(error = file.Flush()) &&
        !(error = file.TakeModeOf(regular ? &*target.file : nullptr))) {
        error = Verify(file, bytes, same);
    }
    if (error || !same) {
        Fail(
            FileFailure::Of("Could not write", path_,
                            error ? error.text : "the written file does not read back as written"));
        return false;
    }
    // What the next save compares the file with, reckoned before the lock is taken.
    ContentDigest digest;
    digest.Add(bytes.data(), bytes.size());
    target.writtenDigest = digest.Value();
    return true;
}

AtomicFile::Look AtomicFile::LookAgain(Target& target, bool& gone) {
    // The lock first, then the look: a save that held the lock meanwhile has replaced the file.
    FileStamp locked;
    const bool lockable = target.file && target.file->type == Type::File;
    const bool haveLock = lockable && !target.lock.Take(target.folder, target.name, locked);
    FileStamp now;
    const FileError atName = target.folder.StampOf(target.name, now);
    gone = atName.kind == Kind::NotFound;
    if (!asRead_) {
        return Look::AsRead;
    }
    std::string resolvedNow;
    if (FileError error = FollowLinks(path_, resolvedNow)) {
        Fail(FileFailure::Of("Could not write", path_, error.text));
        return Look::Failed;
    }
    FileStamp folderNow;
    if (resolvedNow != asRead_->resolved) {
        change_ = "its name now leads to another file";
    } else if (sys::StampPath(FolderOf(target.resolved), folderNow) ||
               !folderNow.IsSameFile(asRead_->folder) ||
               !target.folderStamp.IsSameFile(asRead_->folder)) {
        change_ = "its folder was moved or replaced";
    } else if (gone) {
        return Look::AsRead;  // deleted: written anew
    } else if (atName) {
        change_ = atName.text;
    } else if (!now.IsSameFile(asRead_->file) || (haveLock && !locked.IsSameFile(now))) {
        change_ = "another file took its name";
    } else if (!now.IsUnchangedFrom(asRead_->file) ||
               (now.changed != asRead_->file.changed && !SameContents(target))) {
        change_ = "its contents, size or times changed";
    }
    return change_.empty() ? Look::AsRead : Look::Changed;
}

bool AtomicFile::SameContents(Target& target) const {
    // Only the change time moved (new permission bits, a new name, or contents rewritten with
    // their time put back): the contents tell.
    sys::OpenFile file;
    if (target.folder.OpenToRead(target.name, file)) {
        return false;
    }
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kChunk]);
    ContentDigest digest;
    for (std::uint64_t offset = 0;;) {
        std::size_t got = 0;
        if (file.ReadAt(offset, buffer.get(), kChunk, got)) {
            return false;
        }
        if (got == 0) {
            return digest.Value() == asRead_->digest;
        }
        digest.Add(buffer.get(), got);
        offset += got;
    }
}

bool AtomicFile::BackUp(Target& target, Made& made, std::string& oldBackup) {
    const sys::Folder& folder = target.backupFolder;
    std::string fresh;
    FileError error = LinkTemporary(target.folder, target.name, folder, target.backupName, fresh);
    if (error.kind == Kind::NoHardLinks) {
        // No second name here: a complete, flushed copy with the file's permission bits.
        sys::OpenFile from;
        sys::OpenFile copy;
        FileStamp stamp;
        if (!(error = target.folder.OpenToRead(target.name, from)) &&
            !(error = from.Stamp(stamp)) &&
            !(error = CreateTemporary(folder, target.backupName, fresh, copy))) {
            made.Add(folder, fresh);
            if (!(error = CopyContents(from, copy))) {
                error = copy.TakeModeOf(&stamp);
            }
        }
    } else if (!error) {
        made.Add(folder, fresh);
    }
    // The old backup, set aside: a second name for it, or where there are none, the old name
    // itself moved aside.
    bool moved = false;
    FileStamp old;
    if (!error && !folder.StampOf(target.backupName, old)) {
        error = LinkTemporary(folder, target.backupName, folder, target.backupName, oldBackup);
        if (error.kind == Kind::NoHardLinks) {
            oldBackup = TemporaryNameFor(target.backupName);
            error = folder.Move(target.backupName, folder, oldBackup, false);
            moved = !error;
        }
        if (error) {
            oldBackup.clear();
        }
    }
    if (!error && (error = folder.Move(fresh, folder, target.backupName, true))) {
        if (moved) {
            folder.Move(oldBackup, folder, target.backupName, false);
        } else if (!oldBackup.empty()) {
            folder.Remove(oldBackup);
        }
        oldBackup.clear();
    }
    if (error) {
        Fail(FileFailure::Of("Could not make the backup", *backupPath_, error.text));
        return false;
    }
    // Renaming a name onto another name of the same file may leave both; the spare one goes.
    folder.Remove(fresh);
    made.Drop(fresh);
    return true;
}

SaveOutcome AtomicFile::Commit(Target& target, const std::string& temporary, Made& made,
                               bool gone) {
    RemoveLeftovers(target.folder, target.name);
    const bool backUp = backupPath_.has_value() && !gone;
    if (backUp) {
        RemoveLeftovers(target.backupFolder, target.backupName);
    }
    std::string oldBackup;
    if (backUp && !BackUp(target, made, oldBackup)) {
        return SaveOutcome::Failed;
    }
    // A file deleted since it was read is written anew, unless another program made a new one
    // meanwhile.
    const bool replace = !gone || !asRead_ || ifChanged_ == IfFileChanged::Overwrite;
    // Windows refuses to replace a file that any program has open, if only to read it for a
    // moment (a virus scanner, another save loading it): such a refusal is tried again a while.
    // Closed first: some versions of Windows refuse to rename a file that is open.
    target.temporaryFile.Close();
    FileError error;
    for (int attempt = 0; attempt < kCommitAttempts; ++attempt) {
        error = target.folder.Move(temporary, target.folder, target.name, replace);
        if (error.kind != Kind::Denied) {
            break;
        }
        std::this_thread::sleep_for(kCommitPause);
    }
    if (error) {
        if (backUp) {
            PutBackOldBackup(target, oldBackup);
        }
        if (error.kind == Kind::Exists && !replace) {
            change_ = "another file took its name";
            return SaveOutcome::FileChanged;
        }
        std::string advice = failure_.advice;
        if (error.kind == Kind::Denied) {
            advice = std::string(kBusyAdvice) + (advice.empty() ? "" : "\n" + advice);
        }
        Fail(FileFailure::Of("Could not replace", path_, error.text));
        failure_.advice = advice;
        return SaveOutcome::Failed;
    }
    made.Drop(temporary);
    if (!oldBackup.empty()) {
        target.backupFolder.Remove(oldBackup);
    }
    backupMade_ = backUp;
    target.folder.Sync();
    if (backUp) {
        target.backupFolder.Sync();
    }
    Remember(target);
    return SaveOutcome::Saved;
}

void AtomicFile::PutBackOldBackup(Target& target, const std::string& oldBackup) {
    // The old backup back in its place; with none, the one this save made goes. A name of a
    // file that another program holds open may refuse to be replaced, but not to be removed.
    const sys::Folder& folder = target.backupFolder;
    FileError restored = oldBackup.empty()
                             ? folder.Remove(target.backupName)
                             : folder.Move(oldBackup, folder, target.backupName, true);
    if (restored && !oldBackup.empty() && !folder.Remove(target.backupName)) {
        restored = folder.Move(oldBackup, folder, target.backupName, false);
    }
    if (restored && !oldBackup.empty()) {
        failure_.advice = "The previous backup is kept as " +
                          Quoted(FolderOf(*backupPath_) + kPathSeparators[0] + oldBackup) + ".";
    }
}

void AtomicFile::Remember(Target& target) {
    FileStamp now;
    if (!target.folder.StampOf(target.name, now)) {
        nowAsRead_ = FileAsRead{target.resolved, now, target.folderStamp, target.writtenDigest};
    }
}

}  // namespace tavlo
