#include "qt/settings_editor.h"

#include <QFile>
#include <QString>
#include <optional>

#include "core/file_names.h"
#include "core/firmware_image.h"
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

// The core's failure to write the default file, as a message over the dialog.
class DialogNotifier : public Notifier {
public:
    DialogNotifier(UiServices& ui, QWidget* owner) : ui_(ui), owner_(owner) {}
    void ShowMessage(std::string_view title, std::string_view text) override {
        ui_.ShowMessage(owner_, title, text, MessageIcon::None);
    }

private:
    UiServices& ui_;
    QWidget* owner_;
};

std::string FieldText(const std::string& nativePath) {
    return FieldTextOfPath(nativePath).value_or(nativePath);
}

std::string Format(const char* format, const QString& editor) {
    return ToWindows1252(QString::fromLatin1(format).arg(editor));
}

// Writes the default copy to the settings path, byte for byte. A failure has been shown by the
// image; the settings read afterwards tell whether there is a file.
void CreateDefaultSettings(const SettingsEditorContext& context) {
    DialogNotifier notifier(context.ui, &context.dialog);
    FirmwareImage defaults(notifier);
    const std::string path = GetConfigFileName(context.programPath);
    if (defaults.LoadFromResource(kDefaultSettingsName, kDefaultSettingsType, path)) {
        defaults.Save(false);
    }
    context.dialog.ApplySettings();
}

}  // namespace

void EditSettings(const SettingsEditorContext& context) {
    MainDialog& dialog = context.dialog;
    if (!dialog.SettingsPath()) {
        const QString editor = EditorCommand(std::nullopt).shownName;
        if (!context.ui.AskYesNo(&dialog, kCreateTitle, Format(kCreateText, editor))) {
            return;
        }
        CreateDefaultSettings(context);
    }

    const std::optional<std::string> settingsPath = dialog.SettingsPath();
    std::optional<QString> file;
    if (settingsPath) {
        file = QFile::decodeName(QByteArray::fromStdString(*settingsPath));
    }
    const StartCommand editor = EditorCommand(file);
    if (const int error = context.starter.Start(editor.program, editor.arguments); error != 0) {
        // Without a settings file, the path where one was looked for.
        const std::string shownPath =
            FieldText(settingsPath.value_or(GetConfigFileName(context.programPath)));
        context.ui.ShowMessage(&dialog, Format(kLaunchFailedTitle, editor.shownName),
                               ToWindows1252(QString::fromLatin1(kLaunchFailedText)
                                                 .arg(editor.shownName, QString::number(error),
                                                      FromWindows1252(shownPath))),
                               MessageIcon::None);
    }

    // The editor is not watched: the user says when the editing is done.
    context.ui.ShowMessage(&dialog, context.applicationName, kFinishedText, MessageIcon::None);
    dialog.ApplySettings();
}

}  // namespace tavlo
