#include "core/message_scanner.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "core/byte_search.h"
#include "core/disk_file.h"

namespace tavlo {

namespace {

// Small enough to stay in the processor's cache between the read and the search.
constexpr std::size_t kPieceSize = 128 << 10;

// One search through a file: the piece in memory, where the search stands in it, and the end
// of the run of bytes that holds the last match.
class ScanPass {
public:
    ScanPass(FileInPieces& file, std::uint32_t fileSize, std::string_view text,
             std::size_t headLimit, const MessageScanner::Visitor& visit)
        : file_(file),
          fileSize_(fileSize),
          text_(text),
          searcher_(text),
          // The piece in memory keeps the last text.size() - 1 bytes of the one before it, so a
          // match across two pieces is found.
          keep_(text.empty() ? 0 : text.size() - 1),
          headLimit_(headLimit),
          visit_(visit),
          buffer_(new char[kPieceSize + keep_]) {}

    // False when the file could not be read; Error() then says why.
    bool Run() {
        while (!done_ && base_ + filled_ < fileSize_) {
            if (!ReadPiece() || !VisitMatchesInPiece()) {
                return false;
            }
            KeepTail();
        }
        return true;
    }

    const std::string& Error() const { return error_; }

private:
    bool ReadPiece();
    bool VisitMatchesInPiece();
    bool VisitMatch(std::size_t at);
    bool FindRunEnd(std::size_t at);
    void KeepTail();

    FileInPieces& file_;
    const std::uint32_t fileSize_;
    const std::string_view text_;
    const ByteSearcher searcher_;  // built once for all the pieces
    const std::size_t keep_;
    const std::size_t headLimit_;
    const MessageScanner::Visitor& visit_;
    std::unique_ptr<char[]> buffer_;
    std::uint64_t base_ = 0;      // file offset of buffer_[0]
    std::size_t filled_ = 0;      // bytes in the buffer
    std::size_t searchFrom_ = 0;  // where the next match may start (one after the last match)
    // File offset of the zero byte (or the file's end) that ends the message of the last match.
    // Every later match before it has its message end there too, so a long run of bytes without
    // a zero byte is measured once, not once for each of its matches.
    std::uint64_t runEnd_ = 0;
    std::string head_;             // a message's head read from beyond the piece
    std::vector<char> readAhead_;  // bytes read beyond the piece to find the end of a run
    bool done_ = false;            // no further match can exist
    std::string error_;
};

bool ScanPass::ReadPiece() {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(kPieceSize, fileSize_ - base_ - filled_));
    const std::int64_t got =
        file_.ReadOn(reinterpret_cast<std::uint8_t*>(buffer_.get()) + filled_, want, error_);
    if (got < 0) {
        return false;
    }
    if (static_cast<std::size_t>(got) != want) {
        error_ = "The file became shorter while it was being read";
        return false;
    }
    filled_ += want;
    return true;
}

bool ScanPass::VisitMatchesInPiece() {
    const char* data = buffer_.get();
    while (searchFrom_ + std::max<std::size_t>(text_.size(), 1) <= filled_) {
        const char* found = searcher_.Find(data + searchFrom_, filled_ - searchFrom_);
        if (found == nullptr) {
            return true;
        }
        const std::size_t at = static_cast<std::size_t>(found - data);
        const std::uint64_t offset = base_ + at;
        // A match needs one byte of the file after it; none further on can have one either.
        if (offset + text_.size() >= fileSize_) {
            done_ = true;
            return true;
        }
        if (!VisitMatch(at)) {
            return false;
        }
        searchFrom_ = at + 1;
    }
    return true;
}

bool ScanPass::VisitMatch(std::size_t at) {
    const std::uint64_t offset = base_ + at;
    if (offset >= runEnd_ && !FindRunEnd(at)) {
        return false;
    }
    const auto length = static_cast<std::uint32_t>(runEnd_ - offset);
    const std::size_t headSize = std::min<std::size_t>(length, headLimit_);
    std::string_view head(buffer_.get() + at, std::min(headSize, filled_ - at));
    if (head.size() < headSize) {
        // The head runs past the piece in memory: read it from the file.
        head_.resize(headSize);
        if (!file_.ReadAt(offset, head_.data(), headSize)) {
            error_ = "The file could not be read to the end of a message";
            return false;
        }
        head = head_;
    }
    visit_(static_cast<std::uint32_t>(offset), length, head);
    return true;
}

// Finds the zero byte that ends the message at buffer_[at], in the piece or, reading on, further
// in the file, and makes it the end of the current run.
bool ScanPass::FindRunEnd(std::size_t at) {
    const char* data = buffer_.get();
    if (const void* zero = std::memchr(data + at, 0, filled_ - at)) {
        runEnd_ = base_ + static_cast<std::size_t>(static_cast<const char*>(zero) - data);
        return true;
    }
    readAhead_.resize(kPieceSize);
    for (std::uint64_t from = base_ + filled_; from < fileSize_;) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kPieceSize, fileSize_ - from));
        if (!file_.ReadAt(from, readAhead_.data(), want)) {
            error_ = "The file could not be read to the end of a message";
            return false;
        }
        if (const void* zero = std::memchr(readAhead_.data(), 0, want)) {
            runEnd_ =
                from + static_cast<std::size_t>(static_cast<const char*>(zero) - readAhead_.data());
            return true;
        }
        from += want;
    }
    runEnd_ = fileSize_;
    return true;
}

// Keeps the tail of the piece that a match starting in it still needs.
void ScanPass::KeepTail() {
    const std::size_t tail = std::min(keep_, filled_);
    const std::size_t dropped = filled_ - tail;
    std::memmove(buffer_.get(), buffer_.get() + dropped, tail);
    base_ += dropped;
    filled_ = tail;
    searchFrom_ = searchFrom_ > dropped ? searchFrom_ - dropped : 0;
}

}  // namespace

bool MessageScanner::Scan(const std::string& path, std::string_view searchText,
                          std::size_t headLimit, const Visitor& visit) {
    std::uint32_t fileSize = 0;
    FileInPieces file;
    if (!file.Open(path, fileSize, lastError_)) {
        return false;
    }
    // A search text ends at its first zero byte, as a zero-terminated string does.
    ScanPass pass(file, fileSize, searchText.substr(0, searchText.find('\0')), headLimit, visit);
    if (!pass.Run()) {
        lastError_ = pass.Error();
        return false;
    }
    return true;
}

}  // namespace tavlo
