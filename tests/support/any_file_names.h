#pragma once

// The file names every window must take, in the scripts of its users: one table for the flows'
// tests and for both windows' (Qt on Linux, Win32 under Wine). UTF-8, as the program holds names.
namespace tavlo::test {

struct AnyFileName {
    const char* language;
    const char* folder;
    const char* file;
};

inline constexpr AnyFileName kAnyFileNames[] = {
    // Łódź, sample.rgn
    {"Polish", "\xC5\x81\xC3\xB3\x64\xC5\xBA", "sample.rgn"},
    // Jürgen GPS, Ωmega ünit.rgn
    {"Greek", "J\xC3\xBCrgen GPS", "\xCE\xA9mega \xC3\xBCnit.rgn"},
    // ファーム, 日本語.rgn
    {"Japanese", "\xE3\x83\x95\xE3\x82\xA1\xE3\x83\xBC\xE3\x83\xA0",
     "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.rgn"},
    // GPS 🛰, unit 🚲.rgn: characters beyond UTF-16's first plane
    {"an emoji", "GPS \xF0\x9F\x9B\xB0", "unit \xF0\x9F\x9A\xB2.rgn"},
#ifndef _WIN32
    {"a line break, which Linux allows", "two lines", "unit\nold.rgn"},
#endif
};

}  // namespace tavlo::test
