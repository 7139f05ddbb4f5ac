#include <optional>

#include "core/file_system.h"
#include "core/windows/handles.h"

namespace tavlo::sys {

namespace {

// The part of REPARSE_DATA_BUFFER that a symbolic link fills (the driver kit's header has it).
struct SymbolicLinkData {
    ULONG tag;
    USHORT dataLength;
    USHORT reserved;
    USHORT substituteOffset;
    USHORT substituteLength;
    USHORT printOffset;
    USHORT printLength;
    ULONG flags;
    WCHAR names[1];
};

// The path a handle's file has when every link on the way is followed, without "\\?\".
std::wstring FinalPathOf(HANDLE file) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
    if (n >= path.size()) {
        path.resize(n);
        n = GetFinalPathNameByHandleW(file, path.data(), n, 0);
    }
    path.resize(n < path.size() ? n : 0);
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\" + path.substr(7);
    }
    return path.starts_with(L"\\\\?\\") ? path.substr(4) : path;
}

// The text of the symbolic link open as `link`; nothing for a file, a folder or a junction.
std::optional<std::wstring> SymbolicLinkText(HANDLE link) {
    FileStamp stamp;
    alignas(8) BYTE buffer[MAXIMUM_REPARSE_DATA_BUFFER_SIZE];
    DWORD size = 0;
    const auto* data = reinterpret_cast<const SymbolicLinkData*>(buffer);
    if (tavlo::StampOf(link, stamp) || stamp.type != FileStamp::Type::Link ||
        !DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer, sizeof buffer, &size,
                         nullptr) ||
        data->tag != IO_REPARSE_TAG_SYMLINK) {
        return std::nullopt;
    }
    // A relative link's text has no drive or root (SYMLINK_FLAG_RELATIVE): IsAbsolutePath tells.
    const WCHAR* names = data->names;
    std::wstring text(names + data->printOffset / 2, data->printLength / 2);
    if (text.empty()) {
        text.assign(names + data->substituteOffset / 2, data->substituteLength / 2);
        text.erase(0, text.starts_with(L"\\??\\") ? 4 : 0);
    }
    return text;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

FileError ReadLink(const std::string& path, bool& isLink, std::string& target) {
    isLink = false;
    const std::wstring system = SystemPath(path);
    const UniqueHandle link(OpenToLook(system, /*follow=*/false));
    if (!link.IsOpen()) {
        const DWORD error = GetLastError();
        // No such name, or no such folder: nothing to follow, as on Linux.
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileError{}
                                                                              : FileErrorOf(error);
    }
    if (const std::optional<std::wstring> text = SymbolicLinkText(link.Get())) {
        isLink = true;
        target = Utf8(*text);
        return {};
    }
    // Links the system follows without showing them as reparse points (those of the Unix file
    // system under Wine): the file's final path tells where the name leads.
    const UniqueHandle file(OpenToLook(system, /*follow=*/true));
    const std::wstring final = file.IsOpen() ? FinalPathOf(file.Get()) : std::wstring();
    const std::wstring given = system.starts_with(L"\\\\?\\") ? system.substr(4) : system;
    if (!final.empty() && !SameText(final, given)) {
        isLink = true;
        target = Utf8(final);
    }
    return {};
}

FileError StampPath(const std::string& path, FileStamp& stamp) {
    const UniqueHandle file(OpenToLook(SystemPath(path), /*follow=*/true));
    return file.IsOpen() ? FileErrorOf(StampOf(file.Get(), stamp)) : LastError();
}

bool IsAbsolutePath(const std::string& path) {
    return path.starts_with('\\') || path.starts_with('/') ||
           (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/'));
}

FileError ErrorOf(FileError::Kind kind) {
    switch (kind) {
        case FileError::Kind::IsFolder:
            return FileErrorOf(ERROR_DIRECTORY_NOT_SUPPORTED);
        case FileError::Kind::Denied:
            return FileErrorOf(ERROR_ACCESS_DENIED);
        case FileError::Kind::NotFound:
            return FileErrorOf(ERROR_FILE_NOT_FOUND);
        case FileError::Kind::TooManyLinks:
            return FileErrorOf(ERROR_CANT_RESOLVE_FILENAME);
        default:
            return FileErrorOf(ERROR_GEN_FAILURE);
    }
}

}  // namespace tavlo::sys
