#include "qt/linux/desktop_programs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <string>
#include <vector>

#include "qt/linux/watched_start.h"

namespace tavlo {

namespace {

const QString kDesktopHandler = QStringLiteral("xdg-open");
const QString kTerminalEmulator = QStringLiteral("x-terminal-emulator");

// Editors that draw inside a terminal and cannot run without one, known by their program's
// name (the last component of the first word of $VISUAL). Emacs is one only when told to stay
// in the terminal.
constexpr const char* kTerminalEditors =
    " vi vim vim.basic vim.tiny nvim nvi elvis ex ed nano rnano pico micro joe jed jove mcedit "
    "ne mg zile kak hx helix vis editor sensible-editor ";
constexpr const char* kEmacsTerminalOptions[] = {"-nw", "--no-window-system", "-t", "--tty"};

// A command given in an environment variable or one entry of it, split into words as a shell
// would; nothing when it holds no word.
std::optional<QStringList> Words(const QString& command) {
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty() || words.first().isEmpty()) {
        return std::nullopt;
    }
    return words;
}

StartCommand DesktopHandlerOn(const std::optional<QString>& argument) {
    StartCommand command{kDesktopHandler, {}, kDesktopHandler};
    if (argument) {
        command.arguments << *argument;
    }
    return command;
}

// "%s" in a word of a $BROWSER entry stands for the address and "%%" for "%".
QString WithAddress(const QString& word, const QString& address, bool& used) {
    QString result;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (word[i] == QLatin1Char('%') && i + 1 < word.size()) {
            if (word[i + 1] == QLatin1Char('s')) {
                result += address;
                used = true;
                ++i;
                continue;
            }
            if (word[i + 1] == QLatin1Char('%')) {
                result += QLatin1Char('%');
                ++i;
                continue;
            }
        }
        result += word[i];
    }
    return result;
}

QString FromNativePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

int StartProgram(const StartCommand& command) {
    // A name without a folder is looked up in PATH here, as a shell would, so that exec() runs
    // exactly this file (and never a shell over a file that is no program).
    const QString executable = command.program.contains(QLatin1Char('/'))
                                   ? command.program
                                   : QStandardPaths::findExecutable(command.program);
    if (executable.isEmpty()) {
        return ENOENT;
    }
    std::vector<std::string> argv{QFile::encodeName(command.program).toStdString()};
    for (const QString& argument : command.arguments) {
        argv.push_back(QFile::encodeName(argument).toStdString());
    }
    return StartWatched(QFile::encodeName(executable).toStdString(), argv);
}

std::vector<StartCommand> BrowserCommands(const QString& address) {
    std::vector<StartCommand> commands;
    for (const QString& entry : qEnvironmentVariable("BROWSER").split(QLatin1Char(':'))) {
        const std::optional<QStringList> words = Words(entry);
        if (!words) {
            continue;
        }
        bool used = false;
        StartCommand command{{}, {}, words->first()};
        for (const QString& word : *words) {
            command.arguments << WithAddress(word, address, used);
        }
        if (!used) {
            command.arguments << address;
        }
        command.program = command.arguments.takeFirst();
        commands.push_back(command);
    }
    if (commands.empty()) {
        commands.push_back(DesktopHandlerOn(address));
    }
    return commands;
}

bool IsTerminalEditor(const QStringList& words) {
    if (words.isEmpty()) {
        return false;
    }
    const QString name = QFileInfo(words.first()).fileName();
    if (!name.contains(QLatin1Char(' ')) &&
        QLatin1String(kTerminalEditors).contains(QLatin1Char(' ') + name + QLatin1Char(' '))) {
        return true;
    }
    if (name == QLatin1String("emacs") || name == QLatin1String("emacsclient")) {
        for (const char* option : kEmacsTerminalOptions) {
            if (words.contains(QLatin1String(option))) {
                return true;
            }
        }
    }
    return false;
}

StartCommand EditorCommand(const std::optional<QString>& file) {
    const std::optional<QStringList> words = Words(qEnvironmentVariable("VISUAL"));
    if (!words) {
        return DesktopHandlerOn(file);
    }
    StartCommand command{words->first(), words->mid(1), words->first()};
    if (IsTerminalEditor(*words)) {
        // Tavlo has no terminal to lend: the editor gets a window of its own, or the desktop's
        // handler opens the file in whatever editor it knows.
        if (QStandardPaths::findExecutable(kTerminalEmulator).isEmpty()) {
            return DesktopHandlerOn(file);
        }
        command.program = kTerminalEmulator;
        command.arguments = QStringList{QStringLiteral("-e")} + *words;
    }
    if (file) {
        command.arguments << *file;
    }
    return command;
}

QString HelpFolderPath() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative path is not a valid setting of this variable: the default applies then.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome)) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + QStringLiteral("/tavlo/help"));
}

std::string LinuxDesktopPrograms::EditorName() {
    return EditorCommand(std::nullopt).shownName.toStdString();
}

LaunchResult LinuxDesktopPrograms::OpenInEditor(const std::string& file) {
    const StartCommand editor = EditorCommand(FromNativePath(file));
    return {StartProgram(editor), editor.shownName.toStdString()};
}

std::string LinuxDesktopPrograms::AddressOf(const std::string& file) {
    return QUrl::fromLocalFile(FromNativePath(file)).toEncoded().toStdString();
}

LaunchResult LinuxDesktopPrograms::OpenInBrowser(const std::string& address) {
    // The browsers in turn until one starts; a failure names the last one tried.
    LaunchResult result;
    for (const StartCommand& command : BrowserCommands(QString::fromStdString(address))) {
        result = {StartProgram(command), command.shownName.toStdString()};
        if (result.error == 0) {
            break;
        }
    }
    return result;
}

std::string LinuxDesktopPrograms::HelpFolder() {
    return QFile::encodeName(HelpFolderPath()).toStdString();
}

}  // namespace tavlo
