// Walks through the main window under a real X server and photographs every window it shows:
// the main dialog, the About box, each message of Search and Exit, and the messages of View help
// and Edit settings with programs that fail to start, with ImageMagick's "import".
// Usage (from the repository root):
//   xvfb-run -a -s "-screen 0 1024x768x24" build/<preset>/bin/qt_screenshots docs
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "core/firmware_image.h"
#include "qt/linux/desktop_programs.h"
#include "qt/main_dialog.h"
#include "qt/qt_desktop_services.h"
#include "support/qt/modal_helper.h"
#include "support/test_files.h"
#include "workflow/main_dialog_template.h"

namespace {

namespace tpl = tavlo::main_dialog_template;
using tavlo::test::PressButton;
using tavlo::test::WhenModalOpens;

QString outputFolder;
int failures = 0;

// Photographs the screen around the given windows, once they have painted.
void Snap(const char* name, std::initializer_list<QWidget*> windows) {
    QTest::qWait(400);
    QRect area;
    for (QWidget* window : windows) {
        area = area.united(window->frameGeometry());
    }
    area = area.adjusted(-12, -12, 12, 12);
    const QString path = QDir(outputFolder).filePath(QString::fromLatin1(name) + ".png");
    const QString crop = QStringLiteral("%1x%2+%3+%4")
                             .arg(area.width())
                             .arg(area.height())
                             .arg(std::max(0, area.x()))
                             .arg(std::max(0, area.y()));
    const int status = QProcess::execute(
        QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                   QStringLiteral("-crop"), crop, QStringLiteral("+repage"), path});
    std::printf("%s %s\n", status == 0 ? "wrote" : "FAILED", qPrintable(path));
    failures += status == 0 ? 0 : 1;
}

// Photographs the next modal window over `main` as `name`, presses `button`, then goes on.
void SnapNextModal(const char* name, QWidget* main, const char* button,
                   std::function<void()> then = {}) {
    WhenModalOpens([=](QWidget* window) {
        if (then) {
            then();
        }
        Snap(name, {main, window});
        PressButton(window, button);
    });
}

// The commands of Search and Exit, and their messages.
void TourSearchAndExit(tavlo::MainDialog& dialog, const std::function<void(int)>& click) {
    auto* fileField = dialog.findChild<QLineEdit*>(QStringLiteral("control1000"));
    auto* searchBox = dialog.findChild<QComboBox*>(QStringLiteral("control1005"));
    SnapNextModal("about-box", &dialog, "OK");
    QTest::mouseClick(dialog.findChild<QLabel*>(QStringLiteral("control1010")), Qt::LeftButton);

    searchBox->setEditText(QStringLiteral("absent"));
    SnapNextModal("message-not-found", &dialog, "OK");
    click(tpl::kSearch);

    searchBox->setEditText(QString());
    SnapNextModal("message-nothing-to-search", &dialog, "OK");
    click(tpl::kSearch);

    fileField->setText(QStringLiteral("missing.rgn"));
    searchBox->setEditText(QStringLiteral("WARNING"));
    SnapNextModal("message-load-failed", &dialog, "OK");
    click(tpl::kSearch);

    fileField->setText(QString(140, u'x'));
    SnapNextModal("message-too-long", &dialog, "OK",
                  [] { WhenModalOpens([](QWidget* next) { PressButton(next, "OK"); }); });
    click(tpl::kSearch);

    fileField->setText(QStringLiteral("firmware.rgn"));
    WhenModalOpens([](QWidget* patchDialog) { PressButton(patchDialog, "&OK"); });
    click(tpl::kSearch);
    SnapNextModal("message-save-changes", &dialog, "&Cancel");
    click(tpl::kExit);
}

// View help and Edit settings with programs that do not exist, so the failure messages show.
void TourHelpAndSettings(tavlo::MainDialog& dialog, const std::function<void(int)>& click) {
    tavlo::test::ScopedEnv browser("BROWSER", "no-such-browser");
    tavlo::test::ScopedEnv editor("VISUAL", "no-such-editor");
    SnapNextModal("view-help-launch-failed", &dialog, "OK");
    click(tpl::kViewHelp);
    // No settings file: the question, then (Yes) the editor's failure, then the box that waits.
    SnapNextModal("edit-settings-create-question", &dialog, "&Yes", [&] {
        SnapNextModal("edit-settings-launch-failed", &dialog, "OK",
                      [&] { SnapNextModal("edit-settings-finished", &dialog, "OK"); });
    });
    click(tpl::kEditSettings);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outputFolder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs")).absolutePath();

    tavlo::test::TempDir work;
    std::filesystem::current_path(work.Path());
    tavlo::test::ScopedEnv language("LC_ALL", "en_US.UTF-8");
    tavlo::test::ScopedEnv dataHome("XDG_DATA_HOME", work.File("data").c_str());
    using namespace std::string_literals;
    tavlo::test::WriteFile(work.File("firmware.rgn"),
                           "header\0xxWARNING: this unit is not yours\0tail"s);

    tavlo::QtDesktopServices desktop;
    tavlo::LinuxDesktopPrograms programs;
    tavlo::FirmwareImage image;
    tavlo::MainDialog dialog(work.File("tavlo"), image, desktop, programs);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        std::fprintf(stderr, "the main dialog did not appear\n");
        return 1;
    }
    const auto click = [&](int id) {
        QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("control%1").arg(id)),
                          Qt::LeftButton);
    };
    Snap("main-dialog", {&dialog});
    TourSearchAndExit(dialog, click);
    TourHelpAndSettings(dialog, click);
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    return failures == 0 ? 0 : 1;
}
