#include "core/firmware_image.h"

#include <cerrno>
#include <limits>
#include <new>

#include "core/atomic_file.h"
#include "core/embedded_resources.h"
#include "core/file_on_disk.h"
#include "core/posix_io.h"
#include "core/windows1252.h"

namespace tavlo {

namespace {

const char kMessageTitle[] = "Tavlo";
const char kOpenForWriteFailed[] = "Open for write failed";
const char kRenameAdvice[] =
    "Please rename the file, so that its backup gets a name of its own, and try again.";

std::string Quoted(const std::string& path) {
    return "'" + PathForMessage(path) + "'";
}

}  // namespace

FirmwareImage::FirmwareImage() : notifier_(&StderrNotifier()) {}

FirmwareImage::FirmwareImage(Notifier& notifier) : notifier_(&notifier) {}

FirmwareImage::~FirmwareImage() {
    Clear();
}

void FirmwareImage::Clear() {
    if (!resourceBacked_) {
        delete[] data_;
    }
    data_ = nullptr;
    length_ = 0;
    fileName_.clear();
    disk_.reset();
    modified_ = false;
    resourceBacked_ = false;
    matchOffset_ = -1;
}

bool FirmwareImage::Load(const std::string& path) {
    auto disk = std::make_unique<FileOnDisk>();
    int error = disk->FollowLinks(path);
    if (error == 0) {
        error = disk->OpenFolders(BackupName(path));
    }
    if (error != 0) {
        lastError_ = ErrorText(error);
        return false;
    }
    std::uint32_t size = 0;
    UniqueFd file = disk->OpenToRead(size, lastError_);
    if (!file.IsOpen()) {
        return false;
    }

    // One buffer for the file and the zero byte after it; the file's bytes are read straight
    // into it, so nothing is zero-filled or copied first.
    std::unique_ptr<std::uint8_t[]> buffer;
    try {
        buffer.reset(new std::uint8_t[static_cast<std::size_t>(size) + 1]);
    } catch (const std::bad_alloc&) {
        lastError_ = "Not enough memory to load the file";
        return false;
    }
    const std::int64_t got = ReadUpTo(file.Get(), buffer.get(), size);
    if (got < 0) {
        lastError_ = ErrorText(errno);
        return false;
    }
    if (got != static_cast<std::int64_t>(size)) {
        lastError_ = "The file became shorter while it was being read";
        return false;
    }
    buffer[size] = 0;

    Clear();
    data_ = buffer.release();
    length_ = static_cast<std::uint32_t>(size);
    fileName_ = path;
    disk_ = std::move(disk);
    lastError_.clear();
    return true;
}

bool FirmwareImage::LoadFromResource(std::string_view resourceName, std::string_view resourceType,
                                     const std::string& fileName) {
    const auto resource = FindResource(resourceName, resourceType);
    if (!resource || resource->data() == nullptr ||
        resource->size() > std::numeric_limits<std::uint32_t>::max()) {
        lastError_ = "No such resource";
        return false;
    }
    Clear();
    // The resource's bytes stay read-only; resourceBacked_ keeps every writer away from them.
    data_ = const_cast<std::uint8_t*>(resource->data());
    length_ = static_cast<std::uint32_t>(resource->size());
    fileName_ = fileName;
    resourceBacked_ = true;
    lastError_.clear();
    return true;
}

SaveOutcome FirmwareImage::Save(bool makeBackup, IfFileChanged ifChanged) {
    if (data_ == nullptr) {
        lastError_ = "Nothing loaded";
        return SaveOutcome::Failed;
    }
    FileFailure failure;
    const SaveOutcome outcome = WriteToDisk(makeBackup, ifChanged, failure);
    switch (outcome) {
        case SaveOutcome::Saved:
            lastError_.clear();
            break;
        case SaveOutcome::FileChanged:
            lastError_ = Quoted(fileName_) + " was changed or replaced on disk after it was read";
            break;
        case SaveOutcome::Failed: {
            lastError_ = failure.message;
            // The cause goes on its own line under the short summary, so the message box says why.
            std::string text = failure.openForWriteFailed
                                   ? std::string(kOpenForWriteFailed) + "\n" + failure.message
                                   : failure.message;
            if (!failure.advice.empty()) {
                text += "\n" + failure.advice;
            }
            notifier_->ShowMessage(kMessageTitle, text);
            break;
        }
    }
    return outcome;
}

SaveOutcome FirmwareImage::WriteToDisk(bool makeBackup, IfFileChanged ifChanged,
                                       FileFailure& failure) {
    // An image of a resource has no file on disk yet: it is looked for now.
    FileOnDisk found;
    FileOnDisk& disk = disk_ ? *disk_ : found;
    if (!disk_) {
        if (const int error = found.FollowLinks(fileName_); error != 0) {
            failure.message = "Could not write " + Quoted(fileName_) + ": " + ErrorText(error);
            return SaveOutcome::Failed;
        }
        if (const int error = found.OpenFolders(BackupName(fileName_)); error != 0) {
            failure.openForWriteFailed = true;
            failure.message =
                "Could not write " + Quoted(found.File().path) + ": " + ErrorText(error);
            return SaveOutcome::Failed;
        }
    }
    if (makeBackup && disk.BackupIsTheFile()) {
        failure.message = "Could not make the backup " + Quoted(disk.Backup().path) +
                          ": the backup would replace the file " + Quoted(fileName_) + " itself";
        failure.advice = kRenameAdvice;
        return SaveOutcome::Failed;
    }
    // The new contents are complete and verified before anything on disk changes, so a failed
    // write costs neither the file nor the previous backup.
    const FolderEntry file = disk.File();
    FileReplacement replacement(file);
    if (!replacement.Write({data_, length_}, failure)) {
        return SaveOutcome::Failed;
    }
    // Looked at as late as possible: right before the file on disk is replaced.
    FileOnDisk::Now now = FileOnDisk::Now::AsRead;
    if (const int error = disk.Compare(now); error != 0) {
        failure.message = "Could not write " + Quoted(fileName_) + ": " + ErrorText(error);
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

std::string FirmwareImage::BackupName(std::string_view path) {
    // Both separators count, so names written either way give the same backup name.
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t componentStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = path.find_last_of('.');
    std::string name(path);
    if (dot != std::string_view::npos && dot >= componentStart && dot != 0) {
        name.resize(dot);
    }
    return name + ".bak";
}

}  // namespace tavlo
