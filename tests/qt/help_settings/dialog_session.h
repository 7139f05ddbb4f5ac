#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "command_log.h"
#include "core/firmware_image.h"
#include "qt/main_dialog.h"
#include "qt/text_boundary.h"
#include "support/qt/workspace.h"
#include "workflow/main_dialog_template.h"

namespace tavlo::test {

// The main dialog as the application shows it, over logging message boxes and a recording
// program starter, in a fresh working folder with an English-speaking user and no editor or
// browser chosen in the environment. `programPath` defaults to the folder's "tavlo".
class DialogSession {
public:
    explicit DialogSession(const char* locale = "en_US.UTF-8") : lcAll_("LC_ALL", locale) {}

    // Shows the dialog; its initialisation reads the settings as they are now.
    void Open(const std::string& programPath = {});

    MainDialog& Dialog() { return *dialog_; }
    QString FileField() const { return Field<QLineEdit>(kIdFileName)->text(); }
    QString SearchField() const { return Field<QComboBox>(kIdSearchText)->currentText(); }
    void Type(const QString& fileName, const QString& searchText);
    void Click(int id) { QTest::mouseClick(Field<QPushButton>(id), Qt::LeftButton); }

    Workspace work;
    CommandLog log;
    LoggingUi ui{log};
    RecordingStarter starter{log};
    ScriptedConfirmer confirmer;
    FirmwareImage image;

private:
    template <typename Widget>
    Widget* Field(int id) const {
        return dialog_->findChild<Widget*>(QStringLiteral("control%1").arg(id));
    }

    ScopedEnv lcAll_;
    ScopedEnv lcMessages_{"LC_MESSAGES", nullptr};
    ScopedEnv lang_{"LANG", nullptr};
    ScopedEnv visual_{"VISUAL", nullptr};
    ScopedEnv browser_{"BROWSER", nullptr};
    std::unique_ptr<MainDialog> dialog_;
};

}  // namespace tavlo::test
