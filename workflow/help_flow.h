#pragma once

#include <optional>
#include <span>
#include <string>

namespace tavlo {

class DesktopPrograms;
class DesktopServices;

// One file of the help as carried in the program, and where it goes beside the page.
struct HelpFile {
    const char* resourceType;
    const char* resourceName;
    const char* relativePath;  // as the page links it
};

// The page first, then the pictures it links as "img/...".
std::span<const HelpFile> HelpFiles();

// Why the help could not be written: the file and the reason (both as the file system and the
// system spell them).
struct HelpWriteFailure {
    std::string file;
    std::string reason;
};

// Writes the page and its pictures from the program's resources into `folder`, each file whole
// or not at all, replacing what an earlier run left there. Nothing on success.
std::optional<HelpWriteFailure> WriteHelpFiles(const std::string& folder);

// The View help command: writes the help out and opens the page in the user's browser, without
// waiting for it. Failures are messages over the window.
void ViewHelp(DesktopServices& desktop, DesktopPrograms& programs);

}  // namespace tavlo
