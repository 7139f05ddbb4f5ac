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

// Creates a new file "<path>.tavlo-XXXXXX" (mode 0600) beside `path` and opens it for reading
// and writing, locked (flock) for as long as the descriptor is open, so that no other save
// takes it for a leftover. Returns the descriptor and its name, or an invalid descriptor with
// errno set.
UniqueFd CreateTemporaryBeside(const std::string& path, std::string& temporaryName);

// A fresh, unused-looking name "<path>.tavlo-XXXXXX" for a file that a link() creates.
std::string TemporaryNameBeside(const std::string& path);

// Removes the temporary files "<path>.tavlo-XXXXXX" that a save of `path` which never finished
// (a killed process, a power cut) left behind. A temporary file still locked by a save in
// progress is left alone.
void RemoveLeftoverTemporaries(const std::string& path);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

// Flushes a folder's entries to the disk, so a rename inside it survives a power loss.
// Best effort: file systems that cannot flush folders are left as they are.
void SyncFolder(const std::string& folder);

// The permission bits a newly created file gets: 0666 without the process's umask, as the
// kernel states it in /proc/self/status (the umask itself is never changed to read it); 0600
// when /proc cannot tell.
unsigned NewFileMode();

}  // namespace tavlo
