#include <shlobj.h>

#include "core/disk_file.h"
#include "core/windows/win_io.h"

namespace tavlo {

std::optional<std::string> UserSettingsFolder() {
    PWSTR roaming = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming) != S_OK) {
        CoTaskMemFree(roaming);
        return std::nullopt;
    }
    const std::string folder = Utf8(roaming) + "\\Tavlo";
    CoTaskMemFree(roaming);
    return folder;
}

bool IsWritableFolder(const std::string& folder) {
    // A folder is writable when a new file can be made in it: try one, and remove it again.
    const std::wstring base = Wide(folder.empty() ? std::string(".") : folder);
    wchar_t probe[MAX_PATH];
    if (GetTempFileNameW(base.c_str(), L"tav", 0, probe) == 0) {
        return false;
    }
    DeleteFileW(probe);
    return true;
}

}  // namespace tavlo
