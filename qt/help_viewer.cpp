#include "qt/help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <string>

#include "core/embedded_resources.h"
#include "qt/program_starter.h"
#include "qt/text_boundary.h"
#include "qt/ui_services.h"

namespace tavlo {

namespace {

constexpr HelpFile kHelpFiles[] = {
    {"23", "INDEX.HTM", "index.htm"},          {"IMG", "SCREEN1.GIF", "img/screen1.gif"},
    {"IMG", "SCREEN2.GIF", "img/screen2.gif"}, {"IMG", "ZERBUL1A.GIF", "img/zerbul1a.gif"},
    {"IMG", "ZERTXTR.GIF", "img/zertxtr.gif"},
};

// The browser that could not be started is named where a Windows build named its own.
constexpr const char* kLaunchFailedTitle = "Tavlo : Could not launch %1";
constexpr const char* kLaunchFailedText =
    "Tavlo could not launch %1 to view \nthe built-in HTML help file. (An error #%2 was "
    "returned)\n\nIf you have %1 installed, try to point it directly to:\n%3\n\nOr refer to the "
    "documentation on the Tavlo web site.";

constexpr const char* kWriteFailedTitle = "Tavlo : Could not write the help file";
constexpr const char* kWriteFailedText =
    "Tavlo could not write its built-in HTML help file to\n%1\n\n(%2)\n\nPlease check that "
    "this folder can be written, then try again.";

std::string Text(const QString& text) {
    return ToWindows1252(text);
}

std::optional<HelpWriteFailure> WriteHelpFile(const QDir& folder, const HelpFile& file) {
    const QString path = folder.filePath(QString::fromLatin1(file.relativePath));
    const auto bytes = FindResource(file.resourceName, file.resourceType);
    if (!bytes) {
        return HelpWriteFailure{path, QStringLiteral("the program does not carry this file")};
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return HelpWriteFailure{path, QStringLiteral("its folder could not be made")};
    }
    // Written whole or not at all: a browser never finds half a page.
    QSaveFile out(path);
    const auto size = static_cast<qint64>(bytes->size());
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(bytes->data()), size) != size || !out.commit()) {
        return HelpWriteFailure{path, out.errorString()};
    }
    return std::nullopt;
}

}  // namespace

std::span<const HelpFile> HelpFiles() {
    return kHelpFiles;
}

QString HelpFolder() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative path is not a valid setting of this variable: the default applies then.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome)) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + QStringLiteral("/tavlo/help"));
}

std::optional<HelpWriteFailure> WriteHelpFiles(const QString& folder) {
    const QDir dir(folder);
    for (const HelpFile& file : kHelpFiles) {
        if (auto failure = WriteHelpFile(dir, file)) {
            return failure;
        }
    }
    return std::nullopt;
}

void ViewHelp(QWidget* owner, UiServices& ui, ProgramStarter& starter) {
    const QString folder = HelpFolder();
    if (const auto failure = WriteHelpFiles(folder)) {
        ui.ShowMessage(
            owner, kWriteFailedTitle,
            Text(QString::fromLatin1(kWriteFailedText).arg(failure->file, failure->reason)),
            MessageIcon::None);
        return;
    }
    const QString address = QString::fromLatin1(
        QUrl::fromLocalFile(QDir(folder).filePath(QStringLiteral("index.htm"))).toEncoded());
    // The browsers in turn until one starts; a failure names the last one tried.
    int error = 0;
    StartCommand browser;
    for (const StartCommand& command : BrowserCommands(address)) {
        browser = command;
        error = starter.Start(browser.program, browser.arguments);
        if (error == 0) {
            break;
        }
    }
    if (error != 0) {
        ui.ShowMessage(owner, Text(QString::fromLatin1(kLaunchFailedTitle).arg(browser.shownName)),
                       Text(QString::fromLatin1(kLaunchFailedText)
                                .arg(browser.shownName, QString::number(error), address)),
                       MessageIcon::None);
    }
}

}  // namespace tavlo
