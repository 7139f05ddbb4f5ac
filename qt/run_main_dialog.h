#pragma once

#include <optional>
#include <string>

namespace tavlo {

class PatchConfirmer;
class UiServices;

// One run of the program: the main dialog over a fresh, empty firmware image, run modally as
// the program's only loop; then the settings store is emptied, the image released and the dialog
// destroyed, in that order. Nothing is saved here: only the Exit command asks to save.
// `startupFile`: the file the program was started with, if any.
void RunMainDialog(const std::string& programPath, UiServices& ui, PatchConfirmer& confirmer,
                   const std::optional<std::string>& startupFile = std::nullopt);

}  // namespace tavlo
