#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavlo {

// Visits every match of a search text in a firmware file in the order Find Next visits them in
// a loaded image, with the same rules (byte-exact, a match needs one file byte after it, the
// message runs to the next zero byte or the end of the file), but reads the file in pieces into
// one small buffer instead of loading it whole. Listing the messages of a large file thus costs
// one pass over it and little memory.
class MessageScanner {
public:
    // offset of the match, the length L of its message (the bytes a patch would replace), and
    // the message's first min(L, headLimit) bytes.
    using Visitor =
        std::function<void(std::uint32_t offset, std::uint32_t length, std::string_view head)>;

    // False when the file cannot be read; LastError() then says why. The time taken grows with
    // the file's size and the number of matches times headLimit, never with the matches times
    // the messages' lengths: a run of bytes without a zero byte is measured once, however many
    // matches it holds.
    bool Scan(const std::string& path, std::string_view searchText, std::size_t headLimit,
              const Visitor& visit);

    const std::string& LastError() const { return lastError_; }

private:
    std::string lastError_;
};

}  // namespace tavlo
