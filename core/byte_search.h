#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tavlo {

// Finds a run of bytes in a range in time linear in the range's size, whatever the bytes: the
// same search on every platform (no C library's memmem, whose absence on Windows left a search
// that took the range's size times the pattern's). It is the two-way search (Crochemore and
// Perrin): the pattern is cut at a critical point, its right part is compared left to right and
// its left part right to left, and the shifts never go back over a byte that already matched.
// Once a search has gone some way without a match, the range's byte under the pattern's last
// byte may skip the pattern ahead before each comparison (Horspool's rule), so a usual search
// reads only a part of the bytes; the table for that is made only then, so that looking for the
// next of many close matches costs little more than the pattern's length.
//
// A searcher refers to the pattern's bytes, which must outlive it.
class ByteSearcher {
public:
    explicit ByteSearcher(std::string_view pattern);

    // The first occurrence of the pattern in the `size` bytes at `data`, or nullptr. The empty
    // pattern occurs at `data` itself. Nothing outside [data, data + size) is read.
    const char* Find(const char* data, std::size_t size) const;

    std::size_t PatternSize() const { return pattern_.size(); }

private:
    void MakeSkipTable() const;
    std::size_t SkipAhead(const unsigned char* text, std::size_t j, std::size_t last) const;
    const char* FindPeriodic(const unsigned char* text, std::size_t size) const;
    const char* FindAperiodic(const unsigned char* text, std::size_t size) const;

    std::string_view pattern_;
    std::size_t split_ = 0;   // the right part starts here
    std::size_t period_ = 1;  // the pattern's period, when `periodic_`
    bool periodic_ = false;   // the left part repeats one period further on
    // Per byte: how far a window ending in it may move; made when first needed.
    mutable std::array<std::size_t, 256> skip_;
    mutable bool hasSkipTable_ = false;
};

// The first occurrence of `pattern` (at least one byte) in the `size` bytes at `data`, or
// nullptr.
inline const void* FindByteRun(const void* data, std::size_t size, const void* pattern,
                               std::size_t patternSize) {
    const ByteSearcher searcher(std::string_view(static_cast<const char*>(pattern), patternSize));
    return searcher.Find(static_cast<const char*>(data), size);
}

}  // namespace tavlo
