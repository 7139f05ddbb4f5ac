#include "core/windows/win_io.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>

#include "core/windows1252.h"

namespace tavlo {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        default:
            return EIO;
    }
}

std::string WinErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text != nullptr ? text : L"", length);
    LocalFree(text);
    // "Access is denied.\r\n": a cause goes at the end of a line of its own.
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' ||
                              words.back() == L' ' || words.back() == L'.')) {
        words.pop_back();
    }
    if (words.empty()) {
        return "Error " + std::to_string(error);
    }
    // Messages are Windows-1252, as every text of the program is.
    return PathForMessage(Utf8(words));
}

sys::FileError FileErrorOf(DWORD error) {
    using Kind = sys::FileError::Kind;
    Kind kind = Kind::Other;
    switch (error) {
        case 0:
            return {};
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            kind = Kind::NotFound;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            kind = Kind::Exists;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
        case ERROR_FILE_READ_ONLY:
            kind = Kind::Denied;
            break;
        case ERROR_DIRECTORY_NOT_SUPPORTED:
            kind = Kind::IsFolder;
            break;
        case ERROR_CANT_RESOLVE_FILENAME:
            kind = Kind::TooManyLinks;
            break;
        // A file system without hard links (FAT), or another volume.
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
        case ERROR_NOT_SAME_DEVICE:
        case ERROR_TOO_MANY_LINKS:
            kind = Kind::NoHardLinks;
            break;
        default:
            break;
    }
    return {kind, WinErrorText(error)};
}

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        handle_ = other.Release();
    }
    return *this;
}

HANDLE UniqueHandle::Release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
}

void UniqueHandle::Reset() {
    if (IsOpen()) {
        CloseHandle(handle_);
    }
    handle_ = INVALID_HANDLE_VALUE;
}

DWORD StampOf(HANDLE file, sys::FileStamp& stamp) {
    BY_HANDLE_FILE_INFORMATION info;
    FILE_BASIC_INFO times;
    if (!GetFileInformationByHandle(file, &info) ||
        !GetFileInformationByHandleEx(file, FileBasicInfo, &times, sizeof times)) {
        return GetLastError();
    }
    using Type = sys::FileStamp::Type;
    stamp.type = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0       ? Type::Folder
                 : (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? Type::Link
                 : GetFileType(file) == FILE_TYPE_DISK                         ? Type::File
                                                                               : Type::Other;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    stamp.modified = times.LastWriteTime.QuadPart;
    stamp.changed = times.ChangeTime.QuadPart;
    stamp.links = info.nNumberOfLinks;
    return 0;
}

UniqueHandle OpenFirmwareFile(const std::wstring& path, std::uint32_t& size, std::string& error) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = WinErrorText(ERROR_DIRECTORY_NOT_SUPPORTED);
        return UniqueHandle();
    }
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsOpen()) {
        error = WinErrorText(GetLastError());
        return file;
    }
    // A pipe or a device would hold the reader up, and has no length known in advance.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        error = "Not a regular file";
        return UniqueHandle();
    }
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file.Get(), &length)) {
        error = WinErrorText(GetLastError());
        return UniqueHandle();
    }
    if (static_cast<std::uint64_t>(length.QuadPart) > std::numeric_limits<std::uint32_t>::max()) {
        error = "The file is too large (4 GiB or more)";
        return UniqueHandle();
    }
    size = static_cast<std::uint32_t>(length.QuadPart);
    return file;
}

std::int64_t ReadUpTo(HANDLE file, std::uint8_t* buffer, std::size_t size, DWORD& error) {
    std::size_t total = 0;
    while (total < size) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - total, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, want, &got, nullptr)) {
            error = GetLastError();
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return static_cast<std::int64_t>(total);
}

DWORD WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, data, want, &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_HANDLE_DISK_FULL;
        }
        data += written;
        size -= written;
    }
    return 0;
}

std::wstring SystemPath(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    if (wide.empty() || wide.starts_with(L"\\\\?\\")) {
        return wide;
    }
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    full.resize(n == 0 ? 0 : GetFullPathNameW(wide.c_str(), n, full.data(), nullptr));
    if (full.empty()) {
        return wide;
    }
    // "\\server\share\..." is "\\?\UNC\server\share\...".
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

}  // namespace tavlo
