#pragma once

#include <cstddef>
#include <string_view>

#if defined(__GLIBC__)
#include <string.h>  // memmem
#endif

namespace tavlo {

// The first occurrence of `pattern` (at least one byte) in the `size` bytes at `data`, or
// nullptr. glibc's memmem where there is one (a two-way search, fast on long patterns), else
// the standard library's search.
inline const void* FindByteRun(const void* data, std::size_t size, const void* pattern,
                               std::size_t patternSize) {
#if defined(__GLIBC__)
    return ::memmem(data, size, pattern, patternSize);
#else
    const std::string_view bytes(static_cast<const char*>(data), size);
    const std::size_t at =
        bytes.find(std::string_view(static_cast<const char*>(pattern), patternSize));
    return at == std::string_view::npos ? nullptr : bytes.data() + at;
#endif
}

}  // namespace tavlo
