#include "core/firmware_image.h"

#include <limits>

#include "core/embedded_resources.h"
#include "core/windows1252.h"

namespace tavlo {

FirmwareImage::FirmwareImage() = default;

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
    asRead_.reset();
    modified_ = false;
    resourceBacked_ = false;
    matchOffset_ = -1;
}

bool FirmwareImage::Load(const std::string& path) {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t size = 0;
    FileAsRead asRead;
    if (!ReadWholeFile(path, buffer, size, asRead, lastError_)) {
        return false;
    }
    Clear();
    data_ = buffer.release();
    length_ = size;
    fileName_ = path;
    asRead_ = std::move(asRead);
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
    lastFailure_ = {};
    backupMade_ = false;
    if (data_ == nullptr) {
        lastError_ = lastFailure_.message = "Nothing loaded";
        return SaveOutcome::Failed;
    }
    AtomicFile file(fileName_);
    if (makeBackup) {
        file.KeepBackupAs(BackupName(fileName_));
    }
    // An image of a resource has no file read from disk: whatever stands there is replaced.
    if (asRead_) {
        file.ExpectAsRead(*asRead_, ifChanged);
    }
    const SaveOutcome outcome = file.Write({data_, length_});
    if (file.NowAsRead()) {
        asRead_ = file.NowAsRead();
    }
    backupMade_ = file.BackupMade();
    switch (outcome) {
        case SaveOutcome::Saved:
            lastError_.clear();
            break;
        case SaveOutcome::FileChanged:
            lastFailure_.message = Quoted(fileName_) +
                                   " was changed or replaced on disk after it was read (" +
                                   file.Change() + ")";
            lastError_ = lastFailure_.message;
            break;
        case SaveOutcome::Failed:
            lastFailure_ = file.Failure();
            lastError_ = lastFailure_.message;
            break;
    }
    return outcome;
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
