#include "core/disk_file.h"

#include <filesystem>
#include <system_error>

namespace tavlo {

std::optional<std::string> RunningExecutablePath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || path.empty()) {
        return std::nullopt;
    }
    return path.string();
}

}  // namespace tavlo
