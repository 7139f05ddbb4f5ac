#include <cerrno>
#include <cstdint>

#include "core/disk_file.h"
#include "core/windows/win_io.h"

namespace tavlo {

namespace {

// Reads the open file whole, up to `maxSize` bytes. One byte more than the file says it holds
// shows whether it grew meanwhile.
SmallFile ReadWhole(HANDLE file, std::size_t statedSize, std::size_t maxSize) {
    SmallFile read;
    read.bytes.assign(statedSize + 1, '\0');
    DWORD error = 0;
    const std::int64_t got = ReadUpTo(file, reinterpret_cast<std::uint8_t*>(read.bytes.data()),
                                      read.bytes.size(), error);
    if (got < 0) {
        return SmallFile::Unread(SmallFile::Result::Refused, WinErrorText(error));
    }
    if (static_cast<std::size_t>(got) > maxSize) {
        return SmallFile::Unread(SmallFile::Result::TooLarge);
    }
    read.bytes.resize(static_cast<std::size_t>(got));
    read.result = SmallFile::Result::Read;
    return read;
}

}  // namespace

SmallFile ReadSmallFile(const std::string& path, std::size_t maxSize) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return SmallFile::Unread(SmallFile::Result::Refused,
                                 WinErrorText(ERROR_DIRECTORY_NOT_SUPPORTED));
    }
    UniqueHandle file(CreateFileW(wide.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        SmallFile failed;
        const DWORD error = GetLastError();
        failed.errorNumber = ErrnoOf(error);
        failed.problem = WinErrorText(error);
        return failed;
    }
    // A pipe or a device ("CON", "NUL") is no file to read whole.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return SmallFile::Unread(SmallFile::Result::Refused, "Not a regular file");
    }
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file.Get(), &length)) {
        return SmallFile::Unread(SmallFile::Result::Refused, WinErrorText(GetLastError()));
    }
    if (static_cast<std::uint64_t>(length.QuadPart) > maxSize) {
        return SmallFile::Unread(SmallFile::Result::TooLarge);
    }
    return ReadWhole(file.Get(), static_cast<std::size_t>(length.QuadPart), maxSize);
}

}  // namespace tavlo

namespace tavlo {

std::FILE* OpenStream(const std::string& path, const char* mode) {
    // The name is UTF-16 for the system; std::fopen would read it in the ANSI code page.
    return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

}  // namespace tavlo
