#include "core/disk_file.h"
#include "core/windows/win_io.h"

namespace tavlo {

std::optional<std::string> RunningExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return std::nullopt;
        }
        if (n < path.size()) {
            path.resize(n);
            return Utf8(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace tavlo
