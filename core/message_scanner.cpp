#include "core/message_scanner.h"

#include <unistd.h>

#include <string.h>  // memmem

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>

#include "core/firmware_file.h"

namespace tavlo {

namespace {

// Small enough to stay in the processor's cache between the read and the search.
constexpr std::size_t kPieceSize = 128 << 10;

// The message at `offset` when it runs past the piece in memory: read on from the file until
// its zero byte or the end of the file.
bool ReadMessageAt(int fd, std::uint32_t offset, std::uint32_t fileSize, std::string& message) {
    message.clear();
    char piece[4096];
    std::uint64_t at = offset;
    while (at < fileSize) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof piece, fileSize - at));
        const ssize_t got = ::pread(fd, piece, want, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        const auto* zero = static_cast<const char*>(std::memchr(piece, 0, got));
        message.append(piece, zero ? zero - piece : got);
        if (zero) {
            return true;
        }
        at += static_cast<std::uint64_t>(got);
    }
    return true;
}

}  // namespace

bool MessageScanner::Scan(const std::string& path, std::string_view searchText,
                          const Visitor& visit) {
    std::uint32_t fileSize = 0;
    UniqueFd file = OpenFirmwareFile(path, fileSize, lastError_);
    if (!file.IsOpen()) {
        return false;
    }
    // A search text ends at its first zero byte, as a zero-terminated string does.
    const std::string_view text = searchText.substr(0, searchText.find('\0'));
    // The piece in memory keeps the last text.size() - 1 bytes of the one before it, so a match
    // across two pieces is found.
    const std::size_t keep = text.empty() ? 0 : text.size() - 1;
    std::unique_ptr<char[]> buffer(new char[kPieceSize + keep]);
    std::uint64_t base = 0;      // file offset of buffer[0]
    std::size_t filled = 0;      // bytes in the buffer
    std::size_t searchFrom = 0;  // where the next match may start (one after the last match)
    std::string longMessage;

    while (base + filled < fileSize) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kPieceSize, fileSize - base - filled));
        const std::int64_t got =
            ReadUpTo(file.Get(), reinterpret_cast<std::uint8_t*>(buffer.get()) + filled, want);
        if (got < 0) {
            lastError_ = ErrorText(errno);
            return false;
        }
        if (static_cast<std::size_t>(got) != want) {
            lastError_ = "The file became shorter while it was being read";
            return false;
        }
        filled += want;
        const char* data = buffer.get();
        while (searchFrom + std::max<std::size_t>(text.size(), 1) <= filled) {
            const void* found = text.empty() ? data + searchFrom
                                             : ::memmem(data + searchFrom, filled - searchFrom,
                                                        text.data(), text.size());
            if (found == nullptr) {
                break;
            }
            const std::size_t at = static_cast<const char*>(found) - data;
            const std::uint64_t offset = base + at;
            // A match needs one byte of the file after it; none further on can have one either.
            // Matches past the 32-bit signed match offset cannot be held by an image.
            if (offset + text.size() >= fileSize ||
                offset > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
                return true;
            }
            const auto* zero = static_cast<const char*>(std::memchr(data + at, 0, filled - at));
            if (zero != nullptr || base + filled == fileSize) {
                const std::size_t length = zero ? zero - (data + at) : filled - at;
                visit(static_cast<std::uint32_t>(offset), std::string_view(data + at, length));
            } else if (ReadMessageAt(file.Get(), static_cast<std::uint32_t>(offset), fileSize,
                                     longMessage)) {
                visit(static_cast<std::uint32_t>(offset), longMessage);
            } else {
                lastError_ = "The file could not be read to the end of a message";
                return false;
            }
            searchFrom = at + 1;
        }
        // Keep the tail that a match starting in it still needs.
        const std::size_t tail = std::min(keep, filled);
        const std::size_t dropped = filled - tail;
        std::memmove(buffer.get(), buffer.get() + dropped, tail);
        base += dropped;
        filled = tail;
        searchFrom = searchFrom > dropped ? searchFrom - dropped : 0;
    }
    return true;
}

}  // namespace tavlo
