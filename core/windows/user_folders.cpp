#include <shlobj.h>

#include "core/disk_file.h"
#include "core/windows/win_io.h"

namespace tavlo {

namespace {

// A folder the system knows by its id, or nothing when this system has none of that kind.
std::optional<std::string> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::optional<std::string> folder;
    if (SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) {
        folder = Utf8(path);
    }
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::optional<std::string> UserSettingsFolder() {
    if (auto roaming = KnownFolder(FOLDERID_RoamingAppData)) {
        return *roaming + "\\Tavlo";
    }
    return std::nullopt;
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

std::vector<std::string> InstallationFolders() {
    // Program Files in each of its views, and where a per-user installer (an MSI without
    // administrator rights) puts its programs.
    std::vector<std::string> folders;
    for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86,
                                    &FOLDERID_ProgramFilesX64, &FOLDERID_UserProgramFiles}) {
        if (auto folder = KnownFolder(*id)) {
            folders.push_back(std::move(*folder));
        } else if (id == &FOLDERID_UserProgramFiles) {
            // A system that does not know this folder by its id (Wine 8, for one) still installs
            // there: its place is the one Windows gives it, %LOCALAPPDATA%\Programs.
            if (auto local = KnownFolder(FOLDERID_LocalAppData)) {
                folders.push_back(*local + "\\Programs");
            }
        }
    }
    return folders;
}

}  // namespace tavlo
