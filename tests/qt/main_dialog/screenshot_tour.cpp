// Walks through the main dialog under a real X server and photographs every window it shows:
// the main dialog, the About box and each message, with ImageMagick's "import".
// Usage (from the repository root):
//   xvfb-run -a -s "-screen 0 1024x768x24" build/<preset>/bin/main_dialog_screenshots docs
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

// Photographs the next modal window over `main`, then presses `button` in it.
void SnapNextModal(const char* name, QWidget* main, const char* button) {
    WhenModalOpens([=](QWidget* window) {
        Snap(name, {main, window});
        PressButton(window, button);
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    outputFolder = QDir(outputFolder).absolutePath();

    tavlo::test::Workspace work;
    tavlo::test::ScopedEnv language("LC_ALL", "en_US.UTF-8");
    work.Write("firmware.rgn", tavlo::test::TwoMessageFirmware());

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

    auto* fileField = dialog.findChild<QLineEdit*>(QStringLiteral("control1000"));
    auto* searchBox = dialog.findChild<QComboBox*>(QStringLiteral("control1005"));
    const auto click = [&](int id) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("control%1").arg(id)),
                          Qt::LeftButton);
    };

    Snap("main-dialog", {&dialog});

    SnapNextModal("about-box", &dialog, "OK");
    QTest::mouseClick(dialog.findChild<QLabel*>(QStringLiteral("control1010")), Qt::LeftButton);

    searchBox->setEditText(QStringLiteral("absent"));
    SnapNextModal("message-not-found", &dialog, "OK");
    click(tavlo::kIdSearch);

    searchBox->setEditText(QString());
    SnapNextModal("message-nothing-to-search", &dialog, "OK");
    click(tavlo::kIdSearch);

    fileField->setText(QStringLiteral("missing.rgn"));
    searchBox->setEditText(QStringLiteral("WARNING"));
    SnapNextModal("message-load-failed", &dialog, "OK");
    click(tavlo::kIdSearch);

    fileField->setText(QString(140, u'x'));
    WhenModalOpens([&](QWidget* window) {
        WhenModalOpens([](QWidget* next) { PressButton(next, "OK"); });
        Snap("message-too-long", {&dialog, window});
        PressButton(window, "OK");
    });
    click(tavlo::kIdSearch);

    // A save that fails: its message over the window, which keeps the patch; the next Search
    // asks again, and No drops it.
    std::filesystem::create_directory(work.File("gone"));
    work.Write("gone/firmware.rgn", tavlo::test::TwoMessageFirmware());
    fileField->setText(QStringLiteral("gone/firmware.rgn"));
    WhenModalOpens([](QWidget* patchDialog) { PressButton(patchDialog, "&OK"); });
    click(tavlo::kIdSearch);
    std::filesystem::remove_all(work.File("gone"));
    WhenModalOpens([&](QWidget* question) {
        SnapNextModal("message-save-failed", &dialog, "OK");
        PressButton(question, "&Yes");
    });
    click(tavlo::kIdExit);

    fileField->setText(QStringLiteral("firmware.rgn"));
    WhenModalOpens([](QWidget* question) {
        WhenModalOpens([](QWidget* patchDialog) { PressButton(patchDialog, "&OK"); });
        PressButton(question, "&No");
    });
    click(tavlo::kIdSearch);

    SnapNextModal("message-save-changes", &dialog, "&No");
    click(tavlo::kIdExit);

    return failures == 0 ? 0 : 1;
}
