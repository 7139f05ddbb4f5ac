#include "qt/qt_desktop_programs.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include "qt/program_starter.h"
#include "qt/text_boundary.h"

namespace tavlo {

namespace {

QString FromNativePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

QString HelpFolderPath() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative path is not a valid setting of this variable: the default applies then.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome)) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + QStringLiteral("/tavlo/help"));
}

std::string QtDesktopPrograms::EditorName() {
    return ToWindows1252(EditorCommand(std::nullopt).shownName);
}

LaunchResult QtDesktopPrograms::OpenInEditor(const std::string& file) {
    const StartCommand editor = EditorCommand(FromNativePath(file));
    return {starter_->Start(editor.program, editor.arguments), ToWindows1252(editor.shownName)};
}

std::string QtDesktopPrograms::AddressOf(const std::string& file) {
    return QUrl::fromLocalFile(FromNativePath(file)).toEncoded().toStdString();
}

LaunchResult QtDesktopPrograms::OpenInBrowser(const std::string& address) {
    // The browsers in turn until one starts; a failure names the last one tried.
    LaunchResult result;
    for (const StartCommand& command : BrowserCommands(QString::fromStdString(address))) {
        result = {starter_->Start(command.program, command.arguments),
                  ToWindows1252(command.shownName)};
        if (result.error == 0) {
            break;
        }
    }
    return result;
}

std::string QtDesktopPrograms::HelpFolder() {
    return QFile::encodeName(HelpFolderPath()).toStdString();
}

}  // namespace tavlo
