#include "core/byte_search.h"

#include <algorithm>
#include <cstring>

namespace tavlo {

namespace {

// The start and period of the pattern's lexicographically greatest suffix, bytes ordered as
// numbers (or in reverse order): one of the two is a critical point of the pattern.
struct MaximalSuffix {
    std::size_t start;
    std::size_t period;
};

MaximalSuffix FindMaximalSuffix(const unsigned char* x, std::size_t m, bool reverseOrder) {
    // `best` is one before the start of the best suffix so far (0 stands for "before the
    // pattern"); the candidate suffix starting at j + 1 agrees with it for k - 1 bytes.
    std::size_t best = 0;
    std::size_t j = 1;
    std::size_t k = 1;
    std::size_t period = 1;
    while (j + k <= m) {
        const unsigned char a = x[j + k - 1];
        const unsigned char b = x[best + k - 1];
        if (reverseOrder ? a > b : a < b) {
            // The candidate is smaller: every suffix up to here is, and the best one's period
            // grows to cover them.
            j += k;
            k = 1;
            period = j - best;
        } else if (a == b) {
            if (k != period) {
                ++k;
            } else {
                j += period;
                k = 1;
            }
        } else {
            // The candidate is greater: it becomes the best suffix.
            best = j;
            ++j;
            k = 1;
            period = 1;
        }
    }
    return {best, period};
}

}  // namespace

ByteSearcher::ByteSearcher(std::string_view pattern) : pattern_(pattern) {
    const auto* x = reinterpret_cast<const unsigned char*>(pattern.data());
    const std::size_t m = pattern.size();
    if (m == 0) {
        return;
    }
    // The critical point: the later start of the two maximal suffixes, with its period.
    const MaximalSuffix forward = FindMaximalSuffix(x, m, false);
    const MaximalSuffix reverse = FindMaximalSuffix(x, m, true);
    const MaximalSuffix& critical = forward.start > reverse.start ? forward : reverse;
    split_ = critical.start;
    period_ = critical.period;
    // The period is the right part's own, so split_ + period_ never passes the pattern's end.
    periodic_ = split_ + period_ <= m && std::memcmp(x, x + period_, split_) == 0;
}

const char* ByteSearcher::Find(const char* data, std::size_t size) const {
    const std::size_t m = pattern_.size();
    if (m == 0) {
        return data;
    }
    if (data == nullptr || m > size) {
        return nullptr;
    }
    if (m == 1) {
        return static_cast<const char*>(std::memchr(data, pattern_[0], size));
    }
    const auto* text = reinterpret_cast<const unsigned char*>(data);
    return periodic_ ? FindPeriodic(text, size) : FindAperiodic(text, size);
}

// A search goes this many bytes without Horspool's rule before it makes the rule's table.
constexpr std::size_t kBytesBeforeSkipTable = 256;

void ByteSearcher::MakeSkipTable() const {
    // A window whose last byte is c can move on until the last c of the pattern lies under it.
    const auto* x = reinterpret_cast<const unsigned char*>(pattern_.data());
    const std::size_t m = pattern_.size();
    skip_.fill(m);
    for (std::size_t i = 0; i < m; ++i) {
        skip_[x[i]] = m - 1 - i;
    }
    hasSkipTable_ = true;
}

// Horspool's rule: the first window from j on whose last byte is the pattern's last byte, or
// one past `last`. Most bytes of a usual text are not in the pattern at all: for those the window
// moves its whole length, in a loop whose next position does not wait for the byte it reads.
std::size_t ByteSearcher::SkipAhead(const unsigned char* text, std::size_t j,
                                    std::size_t last) const {
    if (!hasSkipTable_) {
        if (j < kBytesBeforeSkipTable) {
            return j;
        }
        MakeSkipTable();
    }
    const std::size_t m = pattern_.size();
    while (j <= last) {
        const std::size_t skip = skip_[text[j + m - 1]];
        if (skip == m) {
            j += m;
        } else if (skip != 0) {
            j += skip;
        } else {
            break;
        }
    }
    return j;
}

// The left part repeats at the period: after the right part matched and the left did not, the
// window moves one period and its first m - period bytes are known to match (`memory`), so no
// byte is compared twice.
const char* ByteSearcher::FindPeriodic(const unsigned char* text, std::size_t size) const {
    const auto* x = reinterpret_cast<const unsigned char*>(pattern_.data());
    const std::size_t m = pattern_.size();
    std::size_t j = 0;
    std::size_t memory = 0;
    const std::size_t last = size - m;
    while (j <= last) {
        if (memory == 0) {
            j = SkipAhead(text, j, last);
            if (j > last) {
                break;
            }
        }
        std::size_t i = std::max(split_, memory);
        while (i < m && x[i] == text[j + i]) {
            ++i;
        }
        if (i < m) {
            j += i - split_ + 1;
            memory = 0;
            continue;
        }
        i = split_;
        while (i > memory && x[i - 1] == text[j + i - 1]) {
            --i;
        }
        if (i <= memory) {
            return reinterpret_cast<const char*>(text + j);
        }
        j += period_;
        memory = m - period_;
    }
    return nullptr;
}

// No period to remember: after the right part matched and the left did not, the window moves
// past the longer of the two parts.
const char* ByteSearcher::FindAperiodic(const unsigned char* text, std::size_t size) const {
    const auto* x = reinterpret_cast<const unsigned char*>(pattern_.data());
    const std::size_t m = pattern_.size();
    const std::size_t shift = std::max(split_, m - split_) + 1;
    std::size_t j = 0;
    const std::size_t last = size - m;
    while (j <= last) {
        j = SkipAhead(text, j, last);
        if (j > last) {
            break;
        }
        std::size_t i = split_;
        while (i < m && x[i] == text[j + i]) {
            ++i;
        }
        if (i < m) {
            j += i - split_ + 1;
            continue;
        }
        i = split_;
        while (i > 0 && x[i - 1] == text[j + i - 1]) {
            --i;
        }
        if (i == 0) {
            return reinterpret_cast<const char*>(text + j);
        }
        j += shift;
    }
    return nullptr;
}

}  // namespace tavlo
