#include "core/windows/win_io.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <random>

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
    return ErrorText(ErrnoOf(error));
}

std::string ErrorText(int error) {
    // The C runtime's words, which are those of the Linux build for the causes that matter.
    return std::strerror(error);
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

DWORD StampOf(HANDLE file, WinFileStamp& stamp) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) {
        return GetLastError();
    }
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    stamp.attributes = info.dwFileAttributes;
    stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    stamp.modified = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                     info.ftLastWriteTime.dwLowDateTime;
    stamp.links = info.nNumberOfLinks;
    return 0;
}

DWORD StampAt(const std::wstring& path, WinFileStamp& stamp) {
    // No access rights asked: a file the user may not read still tells who it is. Backup
    // semantics open a folder too, and an open reparse point is the link, not its target.
    UniqueHandle handle(CreateFileW(
        path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle.IsOpen()) {
        return GetLastError();
    }
    return StampOf(handle.Get(), stamp);
}

bool IsNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

UniqueHandle OpenFirmwareFile(const std::wstring& path, std::uint32_t& size, std::string& error) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = ErrorText(EISDIR);
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

std::wstring FullPath(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) {
        return path;
    }
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(written);
    return full;
}

std::wstring FolderOf(const std::wstring& fullPath) {
    const std::size_t separator = fullPath.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return L".";
    }
    // "C:\" keeps its separator: "C:" alone is the drive's current folder.
    return fullPath.substr(0, separator == 2 && fullPath[1] == L':' ? 3 : separator);
}

std::wstring FinalComponentOf(const std::wstring& fullPath) {
    const std::size_t separator = fullPath.find_last_of(L"\\/");
    return separator == std::wstring::npos ? fullPath : fullPath.substr(separator + 1);
}

std::wstring TemporaryBeside(const std::wstring& path) {
    static std::mt19937 random{std::random_device{}() ^ GetCurrentProcessId()};
    static const wchar_t digits[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
    std::wstring name = path + L".tavlo-";
    for (int i = 0; i < 8; ++i) {
        name += digits[random() % 36];
    }
    return name;
}

}  // namespace tavlo
