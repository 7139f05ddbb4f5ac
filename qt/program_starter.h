#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace tavlo {

// Starts another program and does not wait for it: the help page's browser, the settings
// file's editor. The desktop program starts real ones; the tests record what would be started
// and can make the start fail.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // 0 when the program was started, else the system's error number (ENOENT when no such
    // program exists, EACCES when it may not be run, ...).
    virtual int Start(const QString& program, const QStringList& arguments) = 0;
};

// Detached processes that live on after the command, and after Tavlo.
class DetachedProgramStarter : public ProgramStarter {
public:
    int Start(const QString& program, const QStringList& arguments) override;
};

// The one the desktop program uses unless it is given another.
ProgramStarter& DesktopProgramStarter();

// A program with the arguments to start it with, and the name the user's messages give it.
struct StartCommand {
    QString program;
    QStringList arguments;
    QString shownName;  // the program really tried, as the user named it
};

// The user's web browser on `address`: the first word of $BROWSER when it is set (its further
// words are kept as arguments), else the desktop's default handler, xdg-open.
StartCommand BrowserCommand(const QString& address);

// The user's text editor on `file` (none: the editor starts without a file): $VISUAL when it is
// set, split into words the same way, else the desktop's default handler, xdg-open.
StartCommand EditorCommand(const std::optional<QString>& file);

// The error number behind a failed start's description ("execv: No such file or directory"),
// or -1 when the description names no error the system knows.
int ErrorNumberOfStartFailure(const QString& description);

}  // namespace tavlo
