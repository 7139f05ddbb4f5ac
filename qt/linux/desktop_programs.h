#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "workflow/desktop_programs.h"

// The programs a Linux desktop starts for View help and Edit settings: the browsers of $BROWSER
// and the editor of $VISUAL, else the desktop's default handler (xdg-open); a terminal editor in
// the user's terminal emulator. Another system (macOS, a BSD) puts its own DesktopPrograms here.
namespace tavlo {

// The user's editor, browser and help folder as a Linux desktop names them. Each program is
// started as a process of its own that is not waited for; one that ends with a failure within a
// second never got going, and its start counts as failed (StartWatched).
class LinuxDesktopPrograms : public DesktopPrograms {
public:
    std::string EditorName() override;
    LaunchResult OpenInEditor(const std::string& file) override;
    std::string AddressOf(const std::string& file) override;
    LaunchResult OpenInBrowser(const std::string& address) override;
    std::string HelpFolder() override;
};

// A program with the arguments to start it with, and the name the user's messages give it.
struct StartCommand {
    QString program;
    QStringList arguments;
    QString shownName;  // the program really tried, as the user named it
};

// Starts a program (a name without a folder is looked up in PATH) and does not wait for it: 0
// when it was started, else the number the launch-failed message shows: the system's error
// number (ENOENT when no such program exists, EACCES when it may not be run, ...), or the status
// of a program that ended with a failure at once.
int StartProgram(const StartCommand& command);

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

// Where the help is written for the browser: $XDG_DATA_HOME (when it is an absolute path) or
// ~/.local/share, then tavlo/help.
QString HelpFolderPath();

}  // namespace tavlo
