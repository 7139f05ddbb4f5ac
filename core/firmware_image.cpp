#include "core/firmware_image.h"

#include <limits>
#include <new>

#include "core/embedded_resources.h"
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
    auto disk = std::make_unique<DiskFile>();
    std::uint32_t size = 0;
    if (!disk->Find(path, lastError_) || !disk->OpenFolders(BackupName(path), lastError_) ||
        !disk->OpenToRead(size, lastError_)) {
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
    const std::int64_t got = disk->ReadOpened(buffer.get(), size, lastError_);
    if (got < 0) {
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
    DiskFile found;
    DiskFile& disk = disk_ ? *disk_ : found;
    if (!disk_) {
        std::string error;
        if (!found.Find(fileName_, error)) {
            failure.message = "Could not write " + Quoted(fileName_) + ": " + error;
            return SaveOutcome::Failed;
        }
        if (!found.OpenFolders(BackupName(fileName_), error)) {
            failure.openForWriteFailed = true;
            failure.message = "Could not write " + Quoted(found.FilePath()) + ": " + error;
            return SaveOutcome::Failed;
        }
    }
    if (makeBackup && disk.BackupIsTheFile()) {
        failure.message = "Could not make the backup " + Quoted(disk.BackupPath()) +
                          ": the backup would replace the file " + Quoted(fileName_) + " itself";
        failure.advice = kRenameAdvice;
        return SaveOutcome::Failed;
    }
    return disk.Replace({data_, length_}, makeBackup, ifChanged, fileName_, failure);
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
