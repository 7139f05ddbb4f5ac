#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Small helpers over the POSIX file calls: every call is checked and retried on EINTR, and every
// failure comes back as an errno value so callers can name the cause.
namespace tavlo {

// Owns one open file descriptor and closes it at the end (use Close() to see the result).
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release();
    // Closes the descriptor; 0 on success, else the errno of close().
    int Close();

private:
    int fd_ = -1;
};

// The cause of an errno value in plain words ("No space left on device").
std::string ErrorText(int error);

// Writes all `size` bytes; 0 on success, else the errno of the failing write.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size);

// Reads until `size` bytes have arrived or the file ends. Returns the number of bytes read, or
// -1 with errno set on a read error.
std::int64_t ReadUpTo(int fd, std::uint8_t* buffer, std::size_t size);

// What tells one file from another and a change of its contents: the device and inode it lives
// on, its type, its size and the time its contents were last modified; and how many names it has.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    unsigned type = 0;  // the S_IFMT bits: regular file, symbolic link, folder, ...
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t links = 0;  // names (hard links) of the file

    bool IsRegularFile() const;
    bool IsFolder() const;
    bool IsSameFile(const FileStamp& other) const {
        return device == other.device && inode == other.inode;
    }
    // The same file with the same type, size and modification time. The number of names does
    // not count: another name given to the file changes nothing in it.
    bool IsUnchangedFrom(const FileStamp& other) const {
        return IsSameFile(other) && type == other.type && size == other.size &&
               modifiedSeconds == other.modifiedSeconds &&
               modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

// The stamp of an open file; 0 or the errno of fstat().
int StampOf(int fd, FileStamp& stamp);

// The stamp of `name` inside the folder `folderFd`, the link itself or (followLinks) what it
// leads to; 0 or the errno (ENOENT: nothing has that name).
int StampAt(int folderFd, const std::string& name, bool followLinks, FileStamp& stamp);

// Opens a folder to work inside it with the *at() calls: no permission to list or change it is
// needed to hold it, and it stays the same folder when its path is later renamed or replaced.
// An invalid descriptor with errno set on failure.
UniqueFd OpenFolder(const std::string& folder);

// Creates a new file "<name>.tavlo-XXXXXX" (mode 0600) beside `name` in the folder and opens it
// for reading and writing, locked (flock) for as long as the descriptor is open, so that no
// other save takes it for a leftover. Returns the descriptor and the new file's name, or an
// invalid descriptor with errno set.
UniqueFd CreateTemporaryBeside(int folderFd, const std::string& name, std::string& temporaryName);

// A fresh, unused-looking name "<name>.tavlo-XXXXXX" for a file that a link() creates.
std::string TemporaryNameBeside(const std::string& name);

// Removes the temporary files "<name>.tavlo-XXXXXX" in the folder that a save of `name` which
// never finished (a killed process, a power cut) left behind. A temporary file still locked by a
// save in progress is left alone.
void RemoveLeftoverTemporaries(int folderFd, const std::string& name);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

// The final component of a path (empty when the path ends in "/").
std::string FinalComponentOf(const std::string& path);

// Flushes a folder's entries to the disk, so a rename inside it survives a power loss.
// Best effort: file systems that cannot flush folders are left as they are.
void SyncFolder(int folderFd);

// The permission bits a newly created file gets: 0666 without the process's umask, as the
// kernel states it in /proc/self/status (the umask itself is never changed to read it); 0600
// when /proc cannot tell.
unsigned NewFileMode();

}  // namespace tavlo
