#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/file_system.h"

// Small helpers over the Win32 file calls: UTF-16 paths, owned handles, and failures named in
// Windows' own words.
// "An operation is not supported on a directory": older headers lack its name.
#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L
#endif

namespace tavlo {

// UTF-8 (the program's file-system names) to UTF-16 and back.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& utf16);

// The errno value that says the same as a Win32 error code (EIO for those without one).
int ErrnoOf(DWORD error);

// The cause of a Win32 error in Windows' own words ("The system cannot find the file
// specified"), as FormatMessageW gives them.
std::string WinErrorText(DWORD error);

// Owns one open handle and closes it at the end.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept;
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    HANDLE Get() const { return handle_; }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Release();
    void Reset();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Opens a firmware file for reading and tells its size; refuses a folder, anything but a disk
// file and a file of 4 GiB or more. On failure the handle is not open and `error` says why.
UniqueHandle OpenFirmwareFile(const std::wstring& path, std::uint32_t& size, std::string& error);

// Reads until `size` bytes have arrived or the file ends: the count, or -1 with `error` set.
std::int64_t ReadUpTo(HANDLE file, std::uint8_t* buffer, std::size_t size, DWORD& error);

// Writes all bytes; 0 or the Win32 error.
DWORD WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size);

// The name the Win32 calls take for `utf8`: its full path with the "\\?\" prefix, so that a path
// beyond 260 characters works as any other does.
std::wstring SystemPath(const std::string& utf8);

// A Win32 error as the file layer's failure (no failure for 0).
sys::FileError FileErrorOf(DWORD error);

// The stamp of an open handle; 0 or the Win32 error.
DWORD StampOf(HANDLE file, sys::FileStamp& stamp);

}  // namespace tavlo
