#include <cstring>
#include <limits>

#include "core/byte_search.h"
#include "core/firmware_image.h"

namespace tavlo {

namespace {

// The first occurrence of the pattern that leaves at least one byte of the range after it: the
// match has to lie wholly within the range's first length - 1 bytes.
const std::uint8_t* FindWithByteAfter(const std::uint8_t* data, std::uint32_t length,
                                      const std::uint8_t* pattern, std::size_t patternSize) {
    if (data == nullptr || patternSize >= length) {
        return nullptr;
    }
    if (patternSize == 0) {
        return data;  // the empty pattern occurs at the first candidate
    }
    return static_cast<const std::uint8_t*>(FindByteRun(data, length - 1, pattern, patternSize));
}

// Whether the image has a current match inside its bytes.
bool HasMatch(const std::uint8_t* data, std::uint32_t length, std::int32_t matchOffset) {
    return data != nullptr && matchOffset >= 0 && static_cast<std::uint32_t>(matchOffset) < length;
}

}  // namespace

const std::uint8_t* SearchBytes(const std::uint8_t* data, std::uint32_t length,
                                const std::uint8_t* pattern, int patternLength) {
    if (patternLength < 0 || (pattern == nullptr && patternLength > 0)) {
        return nullptr;
    }
    return FindWithByteAfter(data, length, pattern, static_cast<std::size_t>(patternLength));
}

const std::uint8_t* SearchStrings(const std::uint8_t* data, std::uint32_t length,
                                  std::string_view text) {
    // The text is a zero-terminated string: it ends at its first zero byte, if it holds one.
    text = text.substr(0, text.find('\0'));
    // Going through the range string by string and taking the first string that holds the text
    // finds the same position as searching the whole range at once: a text without zero bytes
    // can never reach across the zero byte that ends a string. A match that does not leave a
    // byte of the range after it ends the search in both views, and none follows it. So one
    // bounded byte search does the work, and nothing outside [data, data + length) is read.
    // The empty text, as in a string search, matches at the first byte.
    return FindWithByteAfter(data, length, reinterpret_cast<const std::uint8_t*>(text.data()),
                             text.size());
}

std::string FitToLength(std::string_view text, std::size_t n) {
    std::string fitted(text.substr(0, n));
    fitted.resize(n, ' ');
    return fitted;
}

const std::uint8_t* FirmwareImage::FindBytes(const std::uint8_t* pattern, int patternLength) const {
    return SearchBytes(data_, length_, pattern, patternLength);
}

const std::uint8_t* FirmwareImage::FindNextText(std::string_view text) const {
    if (data_ == nullptr) {
        return nullptr;
    }
    // The search goes on one byte after the current match's first byte (from 0 without one).
    const auto start = static_cast<std::uint32_t>(matchOffset_ + 1);
    if (start > length_) {
        return nullptr;
    }
    return SearchStrings(data_ + start, length_ - start, text);
}

bool FirmwareImage::LocateMessage(std::string_view searchText) {
    const std::uint8_t* match = FindNextText(searchText);
    if (match == nullptr) {
        return false;
    }
    const std::ptrdiff_t offset = match - data_;
    // The match offset is a 32-bit signed number: a match further into a file of more than
    // 2 GiB cannot be held, and is treated as not found.
    if (offset > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    matchOffset_ = static_cast<std::int32_t>(offset);
    return true;
}

std::uint32_t FirmwareImage::MessageLength() const {
    if (!HasMatch(data_, length_, matchOffset_)) {
        return 0;
    }
    const std::uint8_t* message = data_ + matchOffset_;
    const std::uint32_t available = length_ - static_cast<std::uint32_t>(matchOffset_);
    const void* zero = std::memchr(message, 0, available);
    return zero == nullptr
               ? available
               : static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(zero) - message);
}

void FirmwareImage::ReplaceMessage(std::string_view text) {
    // Without a current match there is nothing to replace; an embedded resource's bytes are
    // read-only and are never written.
    if (!HasMatch(data_, length_, matchOffset_) || resourceBacked_) {
        return;
    }
    const std::string fitted = FitToLength(text, MessageLength());
    std::memcpy(data_ + matchOffset_, fitted.data(), fitted.size());
    modified_ = true;
}

}  // namespace tavlo
