#include "core/firmware_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <new>

#include "core/atomic_file.h"
#include "core/embedded_resources.h"
#include "core/firmware_file.h"
#include "core/link_chain.h"
#include "core/posix_io.h"
#include "core/windows1252.h"

namespace tavlo {

namespace {

const char kMessageTitle[] = "Tavlo";
const char kOpenForWriteFailed[] = "Open for write failed";

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
    modified_ = false;
    resourceBacked_ = false;
    matchOffset_ = -1;
}

bool FirmwareImage::Load(const std::string& path) {
    std::uint32_t size = 0;
    UniqueFd file = OpenFirmwareFile(path, size, lastError_);
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

bool FirmwareImage::Save(bool makeBackup) {
    if (data_ == nullptr) {
        lastError_ = "Nothing loaded";
        return false;
    }
    FileFailure failure;
    const bool saved = [&] {
        // A symbolic link stays a link: the file it points to is the one replaced.
        std::string target;
        if (const int error = ResolveLinkChain(fileName_, target); error != 0) {
            failure.message =
                "Could not write '" + PathForMessage(fileName_) + "': " + ErrorText(error);
            return false;
        }
        // The new contents are complete and verified before anything on disk changes, so a
        // failed write costs neither the file nor the previous backup.
        FileReplacement replacement(target);
        if (!replacement.Write({data_, length_}, failure)) {
            return false;
        }
        struct stat onDisk;
        if (makeBackup && ::stat(target.c_str(), &onDisk) == 0) {
            if (!ReplaceBackup(target, BackupName(fileName_), failure)) {
                return false;
            }
        } else if (makeBackup && errno != ENOENT) {
            failure.message = "Could not make the backup '" +
                              PathForMessage(BackupName(fileName_)) + "': " + ErrorText(errno);
            return false;
        }
        return replacement.Commit(failure);
    }();
    if (saved) {
        lastError_.clear();
        return true;
    }
    lastError_ = failure.message;
    notifier_->ShowMessage(kMessageTitle,
                           failure.openForWriteFailed ? kOpenForWriteFailed : failure.message);
    return false;
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
