#pragma once

#include "core/file_system.h"
#include "core/windows/win_io.h"

namespace tavlo::sys {

struct OpenFile::Handle {
    UniqueHandle file;
};

struct Folder::Handle {
    std::string path;     // as given
    std::wstring system;  // its full "\\?\" path, which the entries' names are joined to
    UniqueHandle folder;  // held without delete sharing: the folder cannot be renamed meanwhile

    std::wstring Entry(const std::string& name) const { return system + L"\\" + Wide(name); }
};

// The last Win32 error as the file layer's failure.
inline FileError LastError() {
    return FileErrorOf(GetLastError());
}

// Opens `path` to look at it: no access asked, any sharing, a folder too, and a link itself
// rather than its target unless `follow`.
inline HANDLE OpenToLook(const std::wstring& path, bool follow) {
    return CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
}

}  // namespace tavlo::sys
