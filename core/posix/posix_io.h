#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/file_system.h"

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

// An errno value as the file layer's failure (no failure for 0).
sys::FileError FileErrorOf(int error);

// Writes all `size` bytes; 0 on success, else the errno of the failing write.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size);

// Reads until `size` bytes have arrived or the file ends. Returns the number of bytes read, or
// -1 with errno set on a read error.
std::int64_t ReadUpTo(int fd, std::uint8_t* buffer, std::size_t size);

// The permission bits a newly created file gets: 0666 without the process's umask, as the
// kernel states it in /proc/self/status (the umask itself is never changed to read it); 0600
// when /proc cannot tell.
unsigned NewFileMode();

}  // namespace tavlo
