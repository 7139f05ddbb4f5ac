#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Small helpers over the Win32 file calls: UTF-16 paths, owned handles, and failures named with
// the same words the Linux build uses.
namespace tavlo {

// UTF-8 (the program's file-system names) to UTF-16 and back.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& utf16);

// The errno value that says the same as a Win32 error code (EIO for those without one).
int ErrnoOf(DWORD error);

// The cause of a Win32 error in plain words ("No such file or directory").
std::string WinErrorText(DWORD error);

// The cause of an errno value in plain words.
std::string ErrorText(int error);

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

// What tells one file from another and a change of its contents.
struct WinFileStamp {
    DWORD volume = 0;
    std::uint64_t index = 0;
    DWORD attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t modified = 0;
    DWORD links = 0;

    bool IsSameFile(const WinFileStamp& other) const {
        return volume == other.volume && index == other.index;
    }
    bool IsUnchangedFrom(const WinFileStamp& other) const {
        return IsSameFile(other) && attributes == other.attributes && size == other.size &&
               modified == other.modified;
    }
    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The stamp of an open handle; 0 or the Win32 error.
DWORD StampOf(HANDLE file, WinFileStamp& stamp);

// The stamp of the file or folder at `path`, without following a link there; 0 or the error
// (ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND: nothing has that name).
DWORD StampAt(const std::wstring& path, WinFileStamp& stamp);

bool IsNotFound(DWORD error);

// Opens a firmware file for reading and tells its size; refuses a folder, anything but a disk
// file and a file of 4 GiB or more. On failure the handle is not open and `error` says why.
UniqueHandle OpenFirmwareFile(const std::wstring& path, std::uint32_t& size, std::string& error);

// Reads until `size` bytes have arrived or the file ends: the count, or -1 with `error` set.
std::int64_t ReadUpTo(HANDLE file, std::uint8_t* buffer, std::size_t size, DWORD& error);

// Writes all bytes; 0 or the Win32 error.
DWORD WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size);

// The full path of `path` (its folder made absolute, "." and ".." resolved).
std::wstring FullPath(const std::wstring& path);

// The folder part of a full path, and its final component.
std::wstring FolderOf(const std::wstring& fullPath);
std::wstring FinalComponentOf(const std::wstring& fullPath);

// A fresh name "<path>.tavlo-XXXXXXXX" beside `path`.
std::wstring TemporaryBeside(const std::wstring& path);

}  // namespace tavlo
