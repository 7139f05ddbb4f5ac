// The byte search of the firmware core on 8 MiB, measured in one run against plain passes over
// the same bytes (memchr for a byte that is not there, and a copy), and against itself with a
// search text ten times shorter. A search that is linear in the bytes takes about as long with
// a 2,000-byte text as with a 200-byte one, whatever the bytes; one that compares the text at
// every position (the standard library's string find, the old search of the Windows build)
// takes ten times as long on the hostile rows, and that search is timed too, once per row.
// It measures and prints; it asserts nothing. Plain C++, so the Windows build runs it under Wine
// (see docs/development.md).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/best_time.h"
#include "core/firmware_image.h"

namespace {

constexpr std::size_t kSize = 8u << 20;
constexpr int kRounds = 5;
// Linear: the 2,000-byte text takes at most this many times the 200-byte one's time.
constexpr double kGrowthLimit = 2.0;

using tavlo::bench::BestSeconds;

std::string RandomBytes(std::size_t size, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(1 + random() % 255);  // no zero byte: one long string
    }
    return bytes;
}

// The 8 MiB searched, and the search text of a given length; none of the texts is there but the
// last two, which stand near the end.
struct Row {
    const char* name;
    std::string bytes;
    std::string (*pattern)(std::size_t length);
};

std::string Repeated(std::string_view unit, std::size_t size) {
    std::string bytes;
    while (bytes.size() < size) {
        bytes += unit;
    }
    bytes.resize(size);
    return bytes;
}

std::string Planted(std::string bytes, const std::string& pattern) {
    bytes.replace(bytes.size() - 4096, pattern.size(), pattern);
    return bytes;
}

std::string RandomText(std::size_t length) {
    return RandomBytes(length, 7);
}

std::vector<Row> Rows() {
    const std::string as(kSize, 'A');
    return {
        {"A..AB in A's", as, [](std::size_t n) { return std::string(n - 1, 'A') + "B"; }},
        {"BA..A in A's", as, [](std::size_t n) { return "B" + std::string(n - 1, 'A'); }},
        {"ABAB..AC in ABAB..", Repeated("AB", kSize),
         [](std::size_t n) { return Repeated("AB", n - 2) + "AC"; }},
        {"random text near the end of random bytes",
         Planted(Planted(RandomBytes(kSize, 1), RandomText(2000)), RandomText(200)), RandomText},
        {"WARNING (7 bytes) near the end of random",
         Planted(RandomBytes(kSize, 2), "WARNING: keep off"),
         [](std::size_t) { return std::string("WARNING"); }},
    };
}

}  // namespace

int main() {
    std::printf(
        "The core's byte search (SearchStrings) over %zu MiB, best of %d runs, with a search\n"
        "text of 2,000 bytes: its time, that time against memchr for an absent byte and\n"
        "against a copy of the same bytes, and against the time with a 200-byte text of the\n"
        "same kind (linear: <= %.1f). The last two columns are the standard library's string\n"
        "find (the old search of the Windows build), run once: its time with the 2,000-byte\n"
        "text, and that time against its time with the 200-byte text.\n\n",
        kSize >> 20, kRounds, kGrowthLimit);
    std::printf("%-42s %9s %8s %8s %8s %7s %11s %8s\n", "row", "search", "/memchr", "/copy",
                "/200 B", "linear", "string find", "/200 B");
    std::string copy(kSize, '\0');
    const void* volatile sink = nullptr;
    for (const Row& row : Rows()) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(row.bytes.data());
        const auto length = static_cast<std::uint32_t>(row.bytes.size());
        const std::string pattern = row.pattern(2000);
        const std::string shorter = row.pattern(200);
        const double search =
            BestSeconds([&] { sink = tavlo::SearchStrings(data, length, pattern); }, kRounds);
        const double searchShorter =
            BestSeconds([&] { sink = tavlo::SearchStrings(data, length, shorter); }, kRounds);
        const double scan = BestSeconds([&] { sink = std::memchr(data, 0, length); }, kRounds);
        const double copied =
            BestSeconds([&] { sink = std::memcpy(copy.data(), data, length); }, kRounds);
        // The old search, once for each text length.
        const auto find = [&](const std::string& text) {
            return BestSeconds(
                [&] {
                    const std::size_t at = std::string_view(row.bytes).find(text);
                    sink = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(at));
                },
                1);
        };
        const double found = find(pattern);
        const double growth = search / searchShorter;
        std::printf("%-42s %7.2fms %8.1f %8.1f %8.2f %7s %9.3f s %8.2f\n", row.name, search * 1e3,
                    search / scan, search / copied, growth,
                    growth <= kGrowthLimit ? "met" : "MISSED", found, found / find(shorter));
    }
    (void)sink;
    return 0;
}
