#include "core/windows/windows_api.h"

#include <cstdint>

#include "core/disk_file.h"
#include "core/version_resource.h"
#include "core/windows/win_io.h"

namespace tavlo {

namespace {

// The system's version interface: any file's resource, the program's own included.
class SystemVersionSource : public VersionResourceSource {
public:
    std::uint32_t GetFileVersionInfoSize(const std::string& fileName) override {
        DWORD unused = 0;
        return GetFileVersionInfoSizeW(Wide(fileName).c_str(), &unused);
    }

    bool GetFileVersionInfo(const std::string& fileName, std::uint32_t size,
                            std::uint8_t* block) override {
        return block != nullptr && GetFileVersionInfoW(Wide(fileName).c_str(), 0, size, block);
    }

    // GetModuleFileNameW of the program's own module.
    std::string GetModuleFileName() override {
        return RunningExecutablePath().value_or(std::string());
    }
};

}  // namespace

VersionResourceSource& ProgramVersionResource() {
    static SystemVersionSource source;
    return source;
}

}  // namespace tavlo
