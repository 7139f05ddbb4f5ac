#include <cstring>

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
bool HasMatch(const std::uint8_t* data, std::uint32_t length, std::int64_t matchOffset) {
    return data != nullptr && matchOffset >= 0 && matchOffset < std::int64_t{length};
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

std::int64_t NextMatchOffset(const std::uint8_t* data, std::uint32_t length,
                             std::int64_t matchOffset, std::string_view text) {
    // The search goes on one byte after the current match's first byte (from 0 without one).
    const std::int64_t start = matchOffset + 1;
    if (data == nullptr || start < 0 || start > std::int64_t{length}) {
        return -1;
    }
    const std::uint8_t* match =
        SearchStrings(data + start, length - static_cast<std::uint32_t>(start), text);
    // Every offset of an image of up to 4 GiB fits.
    return match == nullptr ? -1 : match - data;
}

std::uint32_t MessageLengthAt(const std::uint8_t* data, std::uint32_t length, std::int64_t offset) {
    if (!HasMatch(data, length, offset)) {
        return 0;
    }
    const std::uint8_t* message = data + offset;
    const auto available = static_cast<std::uint32_t>(length - offset);
    const void* zero = std::memchr(message, 0, available);
    return zero == nullptr
               ? available
               : static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(zero) - message);
}

const std::uint8_t* FirmwareImage::FindNextText(std::string_view text) const {
    const std::int64_t next = NextMatchOffset(data_, length_, matchOffset_, text);
    return next < 0 ? nullptr : data_ + next;
}

bool FirmwareImage::LocateMessage(std::string_view searchText) {
    const std::int64_t next = NextMatchOffset(data_, length_, matchOffset_, searchText);
    if (next < 0) {
        return false;  // the current match stays
    }
    matchOffset_ = next;
    return true;
}

std::uint32_t FirmwareImage::MessageLength() const {
    return MessageLengthAt(data_, length_, matchOffset_);
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
