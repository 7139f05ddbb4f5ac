#include "qt/program_starter.h"

#include <QProcess>
#include <cerrno>
#include <cstring>

namespace tavlo {

namespace {

// Qt describes these four failures in its own words rather than the C library's (which may be
// translated); every other one with the C library's text.
struct QtWording {
    int error;
    const char* text;
};
constexpr QtWording kQtWordings[] = {
    {EACCES, "Permission denied"},
    {EMFILE, "Too many open files"},
    {ENOENT, "No such file or directory"},
    {ENOSPC, "No space left on device"},
};

// Error numbers are small; the C library knows fewer than this many.
constexpr int kLargestErrorNumber = 255;

// A command given in an environment variable, split into words as a shell would; nothing when
// the variable is unset or holds no word.
std::optional<StartCommand> CommandFromEnvironment(const char* variable) {
    const QStringList words = QProcess::splitCommand(qEnvironmentVariable(variable));
    if (words.isEmpty() || words.first().isEmpty()) {
        return std::nullopt;
    }
    return StartCommand{words.first(), words.mid(1), words.first()};
}

StartCommand CommandOn(const char* variable, const std::optional<QString>& argument) {
    StartCommand command = CommandFromEnvironment(variable).value_or(
        StartCommand{QStringLiteral("xdg-open"), {}, QStringLiteral("xdg-open")});
    if (argument) {
        command.arguments << *argument;
    }
    return command;
}

}  // namespace

int DetachedProgramStarter::Start(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached()) {
        return 0;
    }
    return ErrorNumberOfStartFailure(process.errorString());
}

ProgramStarter& DesktopProgramStarter() {
    static DetachedProgramStarter starter;
    return starter;
}

StartCommand BrowserCommand(const QString& address) {
    return CommandOn("BROWSER", address);
}

StartCommand EditorCommand(const std::optional<QString>& file) {
    return CommandOn("VISUAL", file);
}

int ErrorNumberOfStartFailure(const QString& description) {
    // The reason follows the failed call's name: "execv: Permission denied".
    const qsizetype colon = description.lastIndexOf(QStringLiteral(": "));
    const QString reason = colon < 0 ? description : description.mid(colon + 2);
    for (const QtWording& wording : kQtWordings) {
        if (reason == QLatin1String(wording.text)) {
            return wording.error;
        }
    }
    for (int error = 1; error <= kLargestErrorNumber; ++error) {
        if (reason == QString::fromLocal8Bit(std::strerror(error))) {
            return error;
        }
    }
    return -1;
}

}  // namespace tavlo
