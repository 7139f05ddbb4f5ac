#pragma once

#include <QString>
#include <optional>
#include <span>

class QWidget;

namespace tavlo {

class ProgramStarter;
class UiServices;

// One file of the help as carried in the program, and where it goes beside the page.
struct HelpFile {
    const char* resourceType;
    const char* resourceName;
    const char* relativePath;  // as the page links it
};

// The page first, then the pictures it links as "img/...".
std::span<const HelpFile> HelpFiles();

// Where the help is written for the browser: $XDG_DATA_HOME (when it is an absolute path) or
// ~/.local/share, then tavlo/help.
QString HelpFolder();

// Why the help could not be written: the file and the reason.
struct HelpWriteFailure {
    QString file;
    QString reason;
};

// Writes the page and its pictures from the program's resources into `folder`, replacing what
// an earlier run left there. Nothing on success.
std::optional<HelpWriteFailure> WriteHelpFiles(const QString& folder);

// The View help command: writes the help out and opens the page in the user's browser, without
// waiting for it. Failures are messages over `owner`.
void ViewHelp(QWidget* owner, UiServices& ui, ProgramStarter& starter);

}  // namespace tavlo
