#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/disk_file.h"
#include "core/embedded_resources.h"
#include "core/version_resource.h"

namespace tavlo {

namespace {

// The version resource the program carries inside itself (type 16, name "#1"), answered for the
// program's own file only.
class ProgramResourceSource : public VersionResourceSource {
public:
    std::uint32_t GetFileVersionInfoSize(const std::string& fileName) override {
        const auto resource = OwnResource(fileName);
        return resource ? static_cast<std::uint32_t>(resource->size()) : 0;
    }

    bool GetFileVersionInfo(const std::string& fileName, std::uint32_t size,
                            std::uint8_t* block) override {
        const auto resource = OwnResource(fileName);
        if (!resource || block == nullptr) {
            return false;
        }
        std::memcpy(block, resource->data(), std::min<std::size_t>(size, resource->size()));
        return true;
    }

    std::string GetModuleFileName() override {
        return RunningExecutablePath().value_or(std::string());
    }

private:
    // The embedded resource when `fileName` is the running program's file.
    std::optional<std::span<const std::uint8_t>> OwnResource(const std::string& fileName) {
        std::error_code error;
        if (fileName.empty() ||
            !std::filesystem::equivalent(fileName, GetModuleFileName(), error) || error) {
            return std::nullopt;
        }
        auto resource = FindResource("#1", "16");
        if (!resource || resource->empty() || resource->size() > UINT32_MAX) {
            return std::nullopt;
        }
        return resource;
    }
};

}  // namespace

VersionResourceSource& ProgramVersionResource() {
    static ProgramResourceSource source;
    return source;
}

}  // namespace tavlo
