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

}  // namespace tavlo
