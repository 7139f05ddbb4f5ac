#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace tavlo {

// Starts another program and does not wait for it: the help page's browser, the settings
// file's editor. The desktop program starts real ones; the tests record what would be started
// and can make the start fail.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // 0 when the program was started, else the number the launch-failed message shows: the
    // system's error number (ENOENT when no such program exists, EACCES when it may not be
    // run, ...), or the status of a program that ended with a failure at once.
    virtual int Start(const QString& program, const QStringList& arguments) = 0;
};

// Detached processes that live on after the command, and after Tavlo. A program that ends with
// a non-zero status within a second of its start never got going, and counts as a failed start
// (see StartWatched).
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

// The user's web browsers on `address`, in the order to try them until one starts. $BROWSER
// holds commands separated by ":", each split into words as a shell would, in which "%s"
// stands for the address and "%%" for "%"; a command without "%s" gets the address as its last
// argument. Without $BROWSER (or with no command in it): the desktop's default handler,
// xdg-open.
std::vector<StartCommand> BrowserCommands(const QString& address);

// Whether the command (split into words) is an editor that runs inside a terminal: vi, vim,
// nvim, nano, pico, micro, joe, mcedit, ed and their kin, Debian's "editor" and
// "sensible-editor", known by the name of the program; emacs and emacsclient only with -nw,
// --no-window-system, -t or --tty.
bool IsTerminalEditor(const QStringList& words);

// The user's text editor on `file` (none: the editor starts without a file): $VISUAL when it is
// set, split into words the same way, else the desktop's default handler, xdg-open. Tavlo has
// no terminal, so a terminal editor runs in the user's terminal emulator
// (x-terminal-emulator -e EDITOR... FILE) when PATH has one, else xdg-open takes its place.
StartCommand EditorCommand(const std::optional<QString>& file);

}  // namespace tavlo
