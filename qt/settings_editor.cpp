#include "qt/settings_editor.h"

#include <QFile>
#include <QString>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/file_names.h"
#include "core/firmware_image.h"
#include "core/posix/posix_io.h"
#include "core/text_file.h"
#include "qt/main_dialog.h"
#include "qt/program_starter.h"
#include "qt/text_boundary.h"
#include "qt/ui_services.h"
#include "settings/settings_file.h"

namespace tavlo {

namespace {

// The editor really started is named where a Windows build named its own.
constexpr const char* kCreateTitle = "Tavlo : Create default settings file ?";
constexpr const char* kCreateText =
    "The default settings file (tavlo.cfg) was not found.\n\nShould Tavlo create one for you ?\n"
    "Select YES to create the file and edit it with %1,\nSelect NO to cancel this action.";

constexpr const char* kLaunchFailedTitle = "Tavlo : Could not launch %1";
constexpr const char* kLaunchFailedText =
    "Tavlo could not launch %1 to edit the configuration\nfile. (An error #%2 was returned)\n\n"
    "If you have another editor, use it to open the following file:\n\n%3\n";

constexpr const char* kFinishedText =
    "Press OK when you are finished editing and have saved the config file";

// The default settings file as carried in the program.
constexpr const char* kDefaultSettingsName = "tavlo.cfg";
constexpr const char* kDefaultSettingsType = "RT_TAVLO";

constexpr const char* kCreateFailedTitle = "Tavlo : Could not create default settings file";
constexpr const char* kCreateFailedText =
    "Tavlo could not create the default settings file\n%1\n\n%2\n\nNo editor was started.";

// The image's own message is left out: the one message of a failed creation says what and why.
class QuietNotifier : public Notifier {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

std::string FieldText(const std::string& nativePath) {
    return FieldTextOfPath(nativePath).value_or(nativePath);
}

std::string Format(const char* format, const QString& editor) {
    return ToWindows1252(QString::fromLatin1(format).arg(editor));
}

// Writes the default copy to the settings path, byte for byte, and reads the settings again.
// Something already there (a file the reader would not take, a folder) is the user's and is
// never replaced. Returns why the file could not be created, in Windows-1252.
std::optional<std::string> CreateDefaultSettings(const SettingsEditorContext& context,
                                                 const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        const std::string problem = ReadTextFile(path).status.problem;
        return "Something of that name is there, and it is no settings file Tavlo can read: " +
               (problem.empty() ? ErrorText(EEXIST) : problem);
    }
    QuietNotifier quiet;
    FirmwareImage defaults(quiet);
    if (!defaults.LoadFromResource(kDefaultSettingsName, kDefaultSettingsType, path) ||
        !defaults.Save(false)) {
        return defaults.LastError();
    }
    context.dialog.ApplySettings();
    if (!context.dialog.SettingsPath()) {
        return std::string("The file was written, but could not be read back");
    }
    return std::nullopt;
}

}  // namespace

void EditSettings(const SettingsEditorContext& context) {
    MainDialog& dialog = context.dialog;
    if (!dialog.SettingsPath()) {
        const QString editor = EditorCommand(std::nullopt).shownName;
        if (!context.ui.AskYesNo(&dialog, kCreateTitle, Format(kCreateText, editor))) {
            return;
        }
        const std::string path = GetConfigFileName(context.programPath);
        if (const auto failure = CreateDefaultSettings(context, path)) {
            // An editor without the file would only leave the user guessing where it belongs.
            context.ui.ShowMessage(&dialog, kCreateFailedTitle,
                                   ToWindows1252(QString::fromLatin1(kCreateFailedText)
                                                     .arg(FromWindows1252(FieldText(path)),
                                                          FromWindows1252(*failure))),
                                   MessageIcon::None);
            return;
        }
    }

    // From here on there is a settings file: the editor always opens it.
    const std::string settingsPath = *dialog.SettingsPath();
    const StartCommand editor =
        EditorCommand(QFile::decodeName(QByteArray::fromStdString(settingsPath)));
    if (const int error = context.starter.Start(editor.program, editor.arguments); error != 0) {
        context.ui.ShowMessage(&dialog, Format(kLaunchFailedTitle, editor.shownName),
                               ToWindows1252(QString::fromLatin1(kLaunchFailedText)
                                                 .arg(editor.shownName, QString::number(error),
                                                      FromWindows1252(FieldText(settingsPath)))),
                               MessageIcon::None);
    }

    // The editor is not watched: the user says when the editing is done.
    context.ui.ShowMessage(&dialog, context.applicationName, kFinishedText, MessageIcon::None);
    dialog.ApplySettings();
}

}  // namespace tavlo
