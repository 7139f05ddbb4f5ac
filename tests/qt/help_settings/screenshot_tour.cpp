// Photographs the messages of View help and Edit settings under a real X server, with the
// desktop's real message boxes and programs that really fail to start:
//   xvfb-run -a -s "-screen 0 1024x768x24" build/<preset>/bin/help_settings_screenshots docs
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <cstdio>

#include "qt/main_dialog.h"
#include "qt/patch_confirmer.h"
#include "qt/qt_ui_services.h"
#include "support/qt/modal_helper.h"
#include "support/qt/workspace.h"
#include "workflow/main_dialog_template.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outputFolder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs")).absolutePath();

    tavlo::test::Workspace work;
    tavlo::test::ScopedEnv language("LC_ALL", "en_US.UTF-8");
    tavlo::test::ScopedEnv dataHome("XDG_DATA_HOME", work.File("data").c_str());
    // Programs that do not exist, so the failure messages show.
    tavlo::test::ScopedEnv browser("BROWSER", "no-such-browser");
    tavlo::test::ScopedEnv editor("VISUAL", "no-such-editor");

    tavlo::QtUiServices ui;
    tavlo::DialogPatchConfirmer confirmer;
    tavlo::FirmwareImage image;
    tavlo::MainDialog dialog(work.ProgramPath(), ui, confirmer);
    dialog.SetImage(&image);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        std::fprintf(stderr, "the main dialog did not appear\n");
        return 1;
    }
    const auto click = [&](int id) {
        QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("control%1").arg(id)),
                          Qt::LeftButton);
    };

    SnapNextModal("view-help-launch-failed", &dialog, "OK");
    click(tavlo::kIdViewHelp);

    // No settings file: the question, then (Yes) the editor's failure, then the box that waits.
    SnapNextModal("edit-settings-create-question", &dialog, "&Yes", [&] {
        SnapNextModal("edit-settings-launch-failed", &dialog, "OK",
                      [&] { SnapNextModal("edit-settings-finished", &dialog, "OK"); });
    });
    click(tavlo::kIdEditSettings);

    return failures == 0 ? 0 : 1;
}
