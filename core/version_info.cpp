#include "core/version_info.h"

#include <cstdio>
#include <optional>

#include "core/version_resource.h"
#include "core/windows1252.h"

namespace tavlo {

namespace {

constexpr const char* kErrorText = "*** ERROR ***";
constexpr const char* kMissingText = "N.A.";

const char* StatusMessage(VersionInfo::Status status) {
    switch (status) {
        case VersionInfo::NoError:
            return "No Error";
        case VersionInfo::NotInitialized:
            return "Object not initialized";
        case VersionInfo::SizeFailed:
            return "GetFileVersionInfoSize failed";
        case VersionInfo::OutOfMemory:
            return "Out of memory";
        case VersionInfo::RetrieveFailed:
            return "Failed to retrieve file version info";
        case VersionInfo::NoTranslation:
            return "Failed to get translation array";
    }
    return "";
}

std::uint16_t WordAt(const VersionValue& value, std::size_t offset) {
    return static_cast<std::uint16_t>(value.bytes[offset] | (value.bytes[offset + 1] << 8));
}

// A text value as Windows-1252, up to its zero unit. A character the code page cannot hold
// becomes "?", as the platform's single-byte version interface gives it.
std::string TextOf(const VersionValue& value) {
    std::string text;
    const std::size_t units = value.bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        char32_t unit = WordAt(value, 2 * i);
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char32_t low = WordAt(value, 2 * (i + 1));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        const auto byte = CodePointToWindows1252(unit);
        text += byte ? static_cast<char>(*byte) : '?';
    }
    return text;
}

}  // namespace

VersionInfo::VersionInfo() : VersionInfo(ProgramVersionResource()) {}

VersionInfo::VersionInfo(VersionResourceSource& source) : source_(&source) {
    Reset(true);
    LoadModule();
}

VersionInfo::~VersionInfo() {
    Reset(false);
}

void VersionInfo::SetStatus(Status status) {
    status_ = status;
    message_ = StatusMessage(status);
}

void VersionInfo::Reset(bool initial) {
    if (!initial) {
        data_.reset();
    }
    size_ = 0;
    language_ = 0;
    codePage_ = 0;
    SetStatus(NotInitialized);
}

bool VersionInfo::Load(const std::string& fileName) {
    const std::uint32_t size = source_->GetFileVersionInfoSize(fileName);
    if (size == 0) {
        SetStatus(SizeFailed);
        return false;
    }
    data_ = source_->AllocateBlock(size);
    if (!data_) {
        SetStatus(OutOfMemory);
        return false;
    }
    size_ = size;
    if (!source_->GetFileVersionInfo(fileName, size, data_.get())) {
        SetStatus(RetrieveFailed);
        data_.reset();
        size_ = 0;
        return false;
    }
    // Only the first pair counts. An array too short to hold one pair counts as none: the
    // string lookup needs a whole pair.
    const std::optional<VersionValue> translation =
        VerQueryValue({data_.get(), size_}, "\\VarFileInfo\\Translation");
    if (!translation || translation->bytes.size() < 4) {
        SetStatus(NoTranslation);
        data_.reset();
        size_ = 0;
        return false;
    }
    language_ = WordAt(*translation, 0);
    codePage_ = WordAt(*translation, 2);
    SetStatus(NoError);
    return true;
}

bool VersionInfo::LoadModule() {
    return Load(source_->GetModuleFileName());
}

std::string VersionInfo::GetString(std::string_view name) const {
    if (status_ != NoError) {
        return kErrorText;
    }
    char path[260];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\%.*s", unsigned{language_},
                  unsigned{codePage_}, static_cast<int>(name.size()), name.data());
    const std::optional<VersionValue> value = VerQueryValue({data_.get(), size_}, path);
    if (!value) {
        return kMissingText;
    }
    return TextOf(*value);
}

std::string GetProductVersion() {
    static std::string cached;
    if (cached.empty()) {
        const VersionInfo info;
        cached = info.GetString("ProductVersion");
    }
    return cached;
}

}  // namespace tavlo
