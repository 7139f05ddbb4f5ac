#pragma once

#include <string>
#include <string_view>
#include <vector>

// The start-up values that both the desktop program and tavlo-cli take from the settings.
namespace tavlo {

// [Patch] SearchString, or the word of the user's language when the settings have none.
std::string StartupSearchText();

// [Image] Filename as stored (a name or a wildcard pattern), default "*.rgn".
std::string StartupFilePattern();

// The owner lines "L1", "L2", ... of `section`: L1 to L7 fall back to their built-in defaults,
// and the first missing key from L8 on ends the list.
std::vector<std::string> OwnerLines(std::string_view section);

// [Display] MagX and MagY when the settings have none.
inline constexpr int kDefaultMagnification = 2;

// The magnifications the preview draws at, in each direction: one device pixel is at least one
// surface pixel, and at most 64, which keeps the magnified picture to a few megabytes.
inline constexpr int kMinMagnification = 1;
inline constexpr int kMaxMagnification = 64;

// [Display] `key` ("MagX" or "MagY"), default 2, brought into kMinMagnification to
// kMaxMagnification: the magnification the preview starts with.
int StartupMagnification(std::string_view key);

}  // namespace tavlo
