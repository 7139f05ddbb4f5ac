// The real message boxes, question, patch dialog and About box, answered by a timer the way a
// user would answer them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "expected_texts.h"
#include "qt/main_dialog.h"
#include "qt/patch_confirmer.h"
#include "qt/program_starter.h"
#include "qt/qt_ui_services.h"
#include "qt/run_main_dialog.h"
#include "qt/text_boundary.h"
#include "settings/settings_file.h"
#include "support/qt/modal_helper.h"
#include "support/qt/test_registry.h"
#include "support/qt/workspace.h"
#include "workflow/main_dialog_template.h"

namespace tavlo::test {

namespace {

using namespace std::string_literals;

struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
    bool isMessageBox = false;
};

// Notes what the message box shows, then presses `button`.
std::function<void(QWidget*)> NoteAndPress(Seen& seen, const char* button) {
    return [&seen, button](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        seen.isMessageBox = box != nullptr;
        seen.title = window->windowTitle();
        seen.parent = window->parentWidget();
        if (box) {
            seen.text = box->text();
            seen.icon = box->icon();
        }
        PressButton(window, button);
    };
}

// The main dialog with the real message boxes and the real patch dialog.
struct RealSession {
    RealSession() {
        if (!work.Write("firmware.rgn", TwoMessageFirmware())) {
            QTest::qFail("cannot write the firmware file", __FILE__, __LINE__);
        }
        dialog.SetImage(&image);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            QTest::qFail("the main dialog was not shown", __FILE__, __LINE__);
        }
    }
    void Click(int id) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("control%1").arg(id)),
                          Qt::LeftButton);
    }
    void SetSearchText(const QString& text) {
        dialog.findChild<QComboBox*>(QStringLiteral("control1005"))->setEditText(text);
    }

    Workspace work;
    ScopedEnv lcAll{"LC_ALL", "en_US.UTF-8"};
    QtUiServices ui;
    DialogPatchConfirmer confirmer;
    FirmwareImage image;
    MainDialog dialog{work.ProgramPath(), ui, confirmer};
};

QString FromBytes(const std::string& text) {
    return FromWindows1252(text);
}

}  // namespace

class RealDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void notFoundMessageBox() {
        RealSession s;
        s.SetSearchText(QStringLiteral("absent"));
        Seen seen;
        WhenModalOpens(NoteAndPress(seen, "OK"));
        s.Click(kIdSearch);
        QVERIFY(seen.isMessageBox);
        QCOMPARE(seen.title, FromBytes(kNotFoundTitle));
        QCOMPARE(seen.text, FromBytes(kNotFoundText));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.parent, static_cast<QWidget*>(&s.dialog));
        QVERIFY(s.dialog.isVisible());  // the dialog is ready for the next command
    }

    void tooLongMessageBoxHasExclamation() {
        RealSession s;
        s.SetSearchText(QString(129, u'W'));
        Seen tooLong;
        Seen loadFailed;
        WhenModalOpens([&](QWidget* window) {
            WhenModalOpens(NoteAndPress(loadFailed, "OK"));
            NoteAndPress(tooLong, "OK")(window);
        });
        // The exchange stops at the long search text; the search goes on and fails to load.
        s.dialog.findChild<QLineEdit*>(QStringLiteral("control1000"))
            ->setText(QStringLiteral("nothing.rgn"));
        s.Click(kIdSearch);
        QCOMPARE(tooLong.title, QStringLiteral("Tavlo"));
        QCOMPARE(tooLong.text, FromBytes(kTooLongText));
        QCOMPARE(tooLong.icon, QMessageBox::Warning);
        QCOMPARE(loadFailed.title, FromBytes(kLoadFailedTitle));
        QCOMPARE(loadFailed.text, FromBytes(LoadFailedText("nothing.rgn")));
    }

    void findNextInPatchDialogUntilNotFound() {
        RealSession s;
        QStringList offered;
        Seen notFound;
        const auto findNext = [&](QWidget* patchDialog) {
            offered << patchDialog->findChild<QPlainTextEdit*>(QStringLiteral("foundText"))
                           ->toPlainText();
            QTest::mouseClick(patchDialog->findChild<QPushButton*>(QStringLiteral("findNext")),
                              Qt::LeftButton);
        };
        WhenModalOpens([&](QWidget* first) {
            WhenModalOpens([&](QWidget* second) {
                WhenModalOpens(NoteAndPress(notFound, "OK"));
                findNext(second);
            });
            findNext(first);
        });
        s.Click(kIdSearch);
        QCOMPARE(offered, QStringList({QStringLiteral("WARNING: this unit is not yours"),
                                       QStringLiteral("WARNING second")}));
        QCOMPARE(notFound.title, FromBytes(kNotFoundTitle));
        QVERIFY(!s.image.IsModified());
    }

    // The sample firmware of the README's run command, end to end: the real patch dialog finds
    // the receiver's font in it, and the saved file differs only inside the message.
    void sampleFirmwareWholeJob() {
        const std::optional<std::string> sample = Workspace::ReadFrom(TAVLO_SAMPLE_FIRMWARE_PATH);
        QVERIFY2(sample, "the sample firmware is made by the sample_firmware target");
        Workspace work;
        QVERIFY(work.Write("sample.rgn", *sample));
        ScopedEnv lcAll("LC_ALL", "en_US.UTF-8");
        QtUiServices ui;
        DialogPatchConfirmer confirmer;
        FirmwareImage image;
        MainDialog dialog(work.ProgramPath(), ui, confirmer);
        dialog.SetImage(&image);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("control1000"))->text(),
                 QStringLiteral("sample.rgn"));

        QString found;
        WhenModalOpens([&](QWidget* patchDialog) {
            found =
                patchDialog->findChild<QPlainTextEdit*>(QStringLiteral("foundText"))->toPlainText();
            auto* box = patchDialog->findChild<QPlainTextEdit*>(QStringLiteral("newText"));
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("Found? Call 555-0100"));
            QTest::mouseClick(patchDialog->findChild<QPushButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("control1003")),
                          Qt::LeftButton);
        QVERIFY(found.startsWith(QStringLiteral("WARNING")));
        QVERIFY(image.IsModified());

        Seen question;
        WhenModalOpens(NoteAndPress(question, "&Yes"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("control1")),
                          Qt::LeftButton);
        QCOMPARE(question.text, FromBytes(SaveQuestion("sample.rgn")));

        const std::optional<std::string> saved = work.Read("sample.rgn");
        QVERIFY(saved);
        QCOMPARE(work.Read("sample.bak"), sample);
        QCOMPARE(saved->size(), sample->size());
        const std::size_t start = sample->find("WARNING");
        const std::size_t end = sample->find('\0', start);
        QCOMPARE(saved->substr(0, start), sample->substr(0, start));
        QCOMPARE(saved->substr(end), sample->substr(end));
        std::string expected = "Found? Call 555-0100";
        expected.resize(end - start, ' ');
        QCOMPARE(saved->substr(start, end - start), expected);
    }

    void iconClickOpensAboutBox() {
        RealSession s;
        QString title;
        QString versionLine;
        QWidget* parent = nullptr;
        WhenModalOpens([&](QWidget* about) {
            title = about->windowTitle();
            parent = about->parentWidget();
            versionLine = about->findChild<QLabel*>(QStringLiteral("control1013"))->text();
            QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("control1")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(s.dialog.findChild<QLabel*>(QStringLiteral("control1010")),
                          Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("About Tavlo"));
        QCOMPARE(versionLine, QStringLiteral("Tavlo Version 1, 0, 3, 0"));
        QCOMPARE(parent, static_cast<QWidget*>(&s.dialog));
        QVERIFY(s.dialog.isVisible());
    }

    // The keyboard reaches the About box (Alt+A, which the icon's tooltip names) and the help
    // (F1, which starts the browser).
    void keyboardReachesAboutBoxAndHelp() {
        RealSession s;
        QString aboutTitle;
        WhenModalOpens([&](QWidget* about) {
            aboutTitle = about->windowTitle();
            QTest::keyClick(about, Qt::Key_Return);
        });
        QTest::keyClick(&s.dialog, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(aboutTitle, QStringLiteral("About Tavlo"));
        QVERIFY(s.dialog.findChild<QLabel*>(QStringLiteral("control1010"))
                    ->toolTip()
                    .contains(QStringLiteral("Alt+A")));

        struct CountingStarter : ProgramStarter {
            int Start(const QString&, const QStringList&) override {
                ++starts;
                return 0;
            }
            int starts = 0;
        } starter;
        s.dialog.SetProgramStarter(starter);
        // Shortcuts go to the active window: the main dialog again, once the box has closed.
        s.dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.dialog));
        QTest::keyClick(&s.dialog, Qt::Key_F1);
        QCOMPARE(starter.starts, 1);
    }

    // The file changed on disk after Search: Exit, Yes, and the real question about overwriting,
    // answered with the Enter key, which takes its default, No.
    void changedFileQuestionDefaultsToNoAndKeepsWindowAndPatch() {
        RealSession s;
        WhenModalOpens([](QWidget* patchDialog) {
            QTest::mouseClick(patchDialog->findChild<QPushButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        });
        s.Click(kIdSearch);
        QVERIFY(s.image.IsModified());
        const std::string patched(reinterpret_cast<const char*>(s.image.Data()), s.image.Length());
        const std::string theirs = TwoMessageFirmware() + "their change";
        QVERIFY(s.work.Write("firmware.rgn", theirs));

        Seen save;
        Seen changed;
        bool defaultIsNo = false;
        WhenModalOpens([&](QWidget* saveQuestion) {
            WhenModalOpens([&](QWidget* question) {
                auto* box = qobject_cast<QMessageBox*>(question);
                defaultIsNo = box && box->defaultButton() == box->button(QMessageBox::No);
                changed = {question->windowTitle(), box ? box->text() : QString(),
                           QMessageBox::NoIcon, question->parentWidget(), box != nullptr};
                QTest::keyClick(question, Qt::Key_Return);
            });
            NoteAndPress(save, "&Yes")(saveQuestion);
        });
        s.Click(kIdExit);
        QCOMPARE(save.title, FromBytes(kSaveTitle));
        QVERIFY(changed.isMessageBox);
        QVERIFY(changed.title.startsWith(QStringLiteral("Tavlo : ")));
        QVERIFY(changed.text.contains(QStringLiteral("firmware.rgn")));
        QCOMPARE(changed.parent, static_cast<QWidget*>(&s.dialog));
        QVERIFY(defaultIsNo);
        QVERIFY(s.dialog.isVisible());
        QVERIFY(s.image.IsModified());
        QCOMPARE(std::string(reinterpret_cast<const char*>(s.image.Data()), s.image.Length()),
                 patched);
        QCOMPARE(s.work.Read("firmware.rgn"), std::optional(theirs));
        QVERIFY(!FileExists(s.work.File("firmware.bak")));
    }

    // Escape with a patch pending: the real save question, with Cancel as its Escape button;
    // Escape there returns to the window with the patch and its marker.
    void escapeWithPatchPendingAsksAndEscapeCancels() {
        RealSession s;
        WhenModalOpens([](QWidget* patchDialog) {
            QTest::mouseClick(patchDialog->findChild<QPushButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        });
        s.Click(kIdSearch);
        QVERIFY(s.dialog.isWindowModified());
        Seen save;
        bool hasThreeButtons = false;
        WhenModalOpens([&](QWidget* question) {
            auto* box = qobject_cast<QMessageBox*>(question);
            save = {question->windowTitle(), box ? box->text() : QString(), QMessageBox::NoIcon,
                    question->parentWidget(), box != nullptr};
            hasThreeButtons = box && box->button(QMessageBox::Yes) &&
                              box->button(QMessageBox::No) && box->button(QMessageBox::Cancel) &&
                              box->defaultButton() == box->button(QMessageBox::Yes);
            QTest::keyClick(question, Qt::Key_Escape);
        });
        QTest::keyClick(&s.dialog, Qt::Key_Escape);
        QVERIFY(save.isMessageBox);
        QCOMPARE(save.title, FromBytes(kSaveTitle));
        QCOMPARE(save.text, FromBytes(SaveQuestion("firmware.rgn")));
        QCOMPARE(save.parent, static_cast<QWidget*>(&s.dialog));
        QVERIFY(hasThreeButtons);
        QVERIFY(s.dialog.isVisible());
        QVERIFY(s.image.IsModified());
        QVERIFY(s.dialog.isWindowModified());
        QCOMPARE(s.work.Read("firmware.rgn"), std::optional(TwoMessageFirmware()));
    }

    // A save whose folder is gone: "Open for write failed" over the window, the cause on a line
    // of its own; the window stays with the patch pending.
    void openForWriteFailedKeepsTheWindowAndThePatch() {
        RealSession s;
        QVERIFY(std::filesystem::create_directory(s.work.File("gone")));
        QVERIFY(s.work.Write("gone/firmware.rgn", TwoMessageFirmware()));
        s.dialog.findChild<QLineEdit*>(QStringLiteral("control1000"))
            ->setText(QStringLiteral("gone/firmware.rgn"));
        WhenModalOpens([](QWidget* patchDialog) {
            QTest::mouseClick(patchDialog->findChild<QPushButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        });
        s.Click(kIdSearch);
        QVERIFY(s.image.IsModified());
        std::filesystem::remove_all(s.work.File("gone"));
        Seen seen;
        WhenModalOpens([&](QWidget* question) {
            WhenModalOpens(NoteAndPress(seen, "OK"));
            PressButton(question, "&Yes");
        });
        s.Click(kIdExit);
        QCOMPARE(seen.title, QStringLiteral("Tavlo"));
        const QStringList lines = seen.text.split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Open for write failed"));
        QVERIFY(lines[1].endsWith(QStringLiteral("No such file or directory")));
        QCOMPARE(seen.parent, static_cast<QWidget*>(&s.dialog));
        QVERIFY(s.dialog.isVisible());
        QVERIFY(s.dialog.isWindowModified());
    }

    // The whole run: the dialog is the only loop; afterwards the settings store is empty.
    void runEndsWithSettingsEmptied() {
        Workspace work;
        QVERIFY(work.WriteSettings("[Patch]\nSearchString = ATTENTION\n"));
        QVERIFY(work.Write("unit.rgn", TwoMessageFirmware()));
        ScopedEnv lcAll("LC_ALL", "en_US.UTF-8");
        ScriptedUi ui;
        ScriptedConfirmer confirmer;
        QString fileName;
        QString searchText;
        std::size_t entriesWhileRunning = 0;
        WhenModalOpens([&](QWidget* window) {
            auto* dialog = qobject_cast<MainDialog*>(window);
            QVERIFY(dialog);
            fileName = dialog->findChild<QLineEdit*>(QStringLiteral("control1000"))->text();
            searchText =
                dialog->findChild<QComboBox*>(QStringLiteral("control1005"))->currentText();
            entriesWhileRunning = SettingsFile::Instance().Entries().size();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("control1")),
                              Qt::LeftButton);
        });
        RunMainDialog(work.ProgramPath(), ui, confirmer);
        QCOMPARE(fileName, QStringLiteral("unit.rgn"));
        QCOMPARE(searchText, QStringLiteral("ATTENTION"));
        QVERIFY(entriesWhileRunning > 0);
        QVERIFY(SettingsFile::Instance().Entries().empty());
        QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(),
                             QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return qobject_cast<MainDialog*>(w) != nullptr; }));
    }
};

TAVLO_REGISTER_TEST(RealDialogsTest);

}  // namespace tavlo::test

#include "real_dialogs_test.moc"
