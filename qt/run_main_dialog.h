#pragma once

#include <optional>
#include <string>

namespace tavlo {

// One run of the desktop program: the main dialog over a fresh, empty firmware image, run
// modally as the program's only loop; then the image is released and the dialog destroyed, in
// that order. Nothing is saved here: only the ways out of the window ask to save.
// `startupFile`: the file the program was started with, if any.
void RunMainDialog(const std::string& programPath, const std::optional<std::string>& startupFile);

}  // namespace tavlo
