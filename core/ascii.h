#pragma once

#include <algorithm>
#include <string_view>

// Case folding of ASCII letters only, as the receiver software's platform compares resource and
// file names: other bytes (Windows-1252 letters included) compare exactly.
namespace tavlo {

constexpr unsigned FoldAscii(unsigned c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace tavlo
