// The main dialog's own wiring, with the desktop's real boxes, patch dialog and programs: its
// buttons and keys reach their commands, a box is owned by the window and titled, the fields
// keep to their typing limits and the search text to Windows-1252, and a file in any script
// comes in by the start, Browse and a drop. What the commands do is the flows' (tests/workflow).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "core/firmware_image.h"
#include "qt/linux/desktop_programs.h"
#include "qt/main_dialog.h"
#include "qt/qt_desktop_services.h"
#include "qt/text_boundary.h"
#include "support/any_file_names.h"
#include "support/qt/modal_helper.h"
#include "support/qt/test_registry.h"
#include "support/test_files.h"
#include "typing.h"
#include "workflow/main_dialog_template.h"

namespace tavlo::test {

namespace {

namespace tpl = main_dialog_template;

// What a box showed while it was open.
struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
};

// Notes what the next box shows, then presses `button` in it.
void AnswerNextBox(Seen& seen, const char* button) {
    WhenModalOpens([&seen, button](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        seen = {window->windowTitle(), box ? box->text() : QString(),
                box ? box->icon() : QMessageBox::NoIcon, window->parentWidget()};
        PressButton(window, button);
    });
}

const std::string kTinyFirmware("xx\0WARNING here\0", 16);

// The main dialog as the program runs it, started on the firmware file `name` (by default
// "unit.rgn") of a folder of its own, which also holds the program.
struct Window {
    explicit Window(const std::string& firmware = kTinyFirmware,
                    const std::string& name = "unit.rgn") {
        std::filesystem::create_directories(PathOf(dir.File(name)).parent_path());
        WriteFile(dir.File(name), firmware);
        dialog.SetStartupFile(dir.File(name));
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            QTest::qFail("the main dialog was not shown", __FILE__, __LINE__);
        }
    }
    template <typename Widget = QWidget>
    Widget* Control(int id) {
        return dialog.findChild<Widget*>(QStringLiteral("control%1").arg(id));
    }
    void Click(int id) { QTest::mouseClick(Control(id), Qt::LeftButton); }
    QString FileNameShown() { return Control<QLineEdit>(tpl::kFileName)->text(); }
    // Whether Search found the message in the file the field names: the patch dialog opens.
    bool SearchOpensThePatchDialog() {
        bool opened = false;
        WhenModalOpens([&opened](QWidget* patchDialog) {
            opened =
                patchDialog->findChild<QPlainTextEdit*>(QStringLiteral("foundText")) != nullptr;
            QTest::keyClick(patchDialog, Qt::Key_Escape);
        });
        Click(tpl::kSearch);
        return opened;
    }
    QLineEdit* SearchField() { return Control<QComboBox>(tpl::kSearchText)->lineEdit(); }

    TempDir dir;
    ScopedEnv language{"LC_ALL", "en_US.UTF-8"};
    ScopedEnv dataHome{"XDG_DATA_HOME", dir.File("data").c_str()};
    QtDesktopServices desktop;
    LinuxDesktopPrograms programs;
    FirmwareImage image;
    MainDialog dialog{dir.File("tavlo"), image, desktop, programs};
};

// Drags `mime` over `target` and drops it there, as the window system delivers a drop.
bool DropOnto(QWidget* target, const std::string& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    mime.setText(mime.urls().first().toString());
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

private slots:
    // Search reaches its flow; the flow's message is a box of plain text over the window, with
    // the window's title form. A field typed too long gets the box with an exclamation icon,
    // and the focus.
    void theSearchButtonsMessagesAreBoxesOverTheWindow() {
        Window w;
        QCOMPARE(w.dialog.windowTitle(),
                 QStringLiteral("Tavlo[*]"));  // the modified marker's place
        QCOMPARE(w.Control<QLineEdit>(tpl::kFileName)->text(),
                 QString::fromStdString(w.dir.File("unit.rgn")));  // the file it was started with
        w.SearchField()->setText(QString(129, u'W'));
        Seen tooLong;
        Seen notFound;
        WhenModalOpens([&](QWidget* first) {
            AnswerNextBox(notFound, "OK");
            tooLong = {first->windowTitle(), qobject_cast<QMessageBox*>(first)->text(),
                       qobject_cast<QMessageBox*>(first)->icon(), first->parentWidget()};
            PressButton(first, "OK");
        });
        w.Click(tpl::kSearch);
        QCOMPARE(tooLong.title, QStringLiteral("Tavlo"));
        QCOMPARE(tooLong.icon, QMessageBox::Warning);
        QCOMPARE(tooLong.parent, &w.dialog);
        QCOMPARE(notFound.title, QStringLiteral("Tavlo : Search text not found"));
        QCOMPARE(notFound.icon, QMessageBox::NoIcon);
        QCOMPARE(notFound.parent, &w.dialog);
        QVERIFY(notFound.text.contains(u'\n'));
        QCOMPARE(w.dialog.focusWidget(), w.Control(tpl::kSearchText));
        QVERIFY(w.dialog.isVisible());
    }

    // The sample firmware of the README's run command, end to end: the real patch dialog finds
    // the receiver's font in it, Exit asks, and the saved file differs only inside the message.
    void theWholeJobOnTheSampleFirmware() {
        const std::string sample = ReadFile(TAVLO_SAMPLE_FIRMWARE_FILE);
        Window w(sample);
        QString found;
        WhenModalOpens([&](QWidget* patchDialog) {
            found =
                patchDialog->findChild<QPlainTextEdit*>(QStringLiteral("foundText"))->toPlainText();
            auto* box = patchDialog->findChild<QPlainTextEdit*>(QStringLiteral("newText"));
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("Found? Call 555-0100"));
            QTest::mouseClick(patchDialog->findChild<QPushButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        });
        w.Click(tpl::kSearch);
        QVERIFY(found.startsWith(QStringLiteral("WARNING")));
        QVERIFY(w.dialog.isWindowModified());

        Seen question;
        AnswerNextBox(question, "&Yes");
        w.Click(tpl::kExit);
        QCOMPARE(question.title, QStringLiteral("Tavlo : Save changes ?"));
        QVERIFY(!w.dialog.isVisible());
        const std::string saved = ReadFile(w.dir.File("unit.rgn"));
        QCOMPARE(ReadFile(w.dir.File("unit.bak")), sample);
        const std::size_t start = sample.find("WARNING");
        const std::size_t end = sample.find('\0', start);
        std::string expected = sample;
        expected.replace(start, end - start,
                         "Found? Call 555-0100" + std::string(end - start - 20, ' '));
        QVERIFY(saved == expected);
    }

    // Escape is the way out the Exit button is: with a patch pending, the question (Yes, No and
    // Cancel, Escape pressing Cancel), and Cancel keeps the window, the patch and its marker.
    void escapeAsksAboutAPendingPatch() {
        Window w;
        WhenModalOpens([](QWidget* patchDialog) {
            QTest::mouseClick(patchDialog->findChild<QPushButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        });
        w.Click(tpl::kSearch);
        QVERIFY(w.dialog.isWindowModified());
        bool threeButtons = false;
        WhenModalOpens([&](QWidget* question) {
            auto* box = qobject_cast<QMessageBox*>(question);
            threeButtons = box && box->button(QMessageBox::Cancel) &&
                           box->defaultButton() == box->button(QMessageBox::Yes);
            QTest::keyClick(question, Qt::Key_Escape);
        });
        QTest::keyClick(&w.dialog, Qt::Key_Escape);
        QVERIFY(threeButtons);
        QVERIFY(w.dialog.isVisible());
        QVERIFY(w.dialog.isWindowModified());
    }

    // Typing stops at 128 characters in the file name and at the field's width in the search
    // text; a text the program puts there is never cut; what Windows-1252 lacks is refused.
    void theFieldsKeepToTheirLimits() {
        Window w;
        auto* fileName = w.Control<QLineEdit>(tpl::kFileName);
        fileName->clear();
        QTest::keyClicks(fileName, QString(130, u'x'));
        QCOMPARE(fileName->text().size(), 128);
        w.dialog.SetFieldText(MainField::FileName, std::string(200, 'p'));
        QTest::keyClick(fileName, Qt::Key_End);
        QTest::keyClicks(fileName, QStringLiteral("q"));
        QCOMPARE(fileName->text().size(), 200);
        QCOMPARE(fileName->text(), QString(200, u'p'));
        QTest::keyClick(fileName, Qt::Key_Backspace);
        QCOMPARE(fileName->text().size(), 199);

        QLineEdit* search = w.SearchField();
        search->clear();
        QTest::keyClicks(search, QString(200, u'W'));
        QVERIFY(search->text().size() > 10 && search->text().size() < 200);
        QVERIFY(search->fontMetrics().horizontalAdvance(search->text()) <=
                search->contentsRect().width());
        search->clear();
        Type(search, QStringLiteral("A\u03A9\u20ACB"));  // Omega has no byte; the euro has
        QCOMPARE(w.dialog.FieldText(MainField::SearchText), std::string("A\x80"
                                                                        "B"));
    }

    // A file dropped onto the window or onto a field names the file to patch; a folder or plain
    // text is not taken.
    void aDroppedFileNamesTheFileToPatch() {
        Window w;
        WriteFile(w.dir.File("dropped.rgn"), "x");
        const QString dropped = QString::fromStdString(w.dir.File("dropped.rgn"));
        auto* fileName = w.Control<QLineEdit>(tpl::kFileName);
        for (QWidget* target : {static_cast<QWidget*>(&w.dialog), static_cast<QWidget*>(fileName),
                                static_cast<QWidget*>(w.SearchField())}) {
            fileName->setText(QStringLiteral("kept.rgn"));
            QVERIFY(DropOnto(target, w.dir.File("dropped.rgn")));
            QCOMPARE(fileName->text(), dropped);
        }
        QVERIFY(!w.SearchField()->text().contains(QStringLiteral("file:")));
        QVERIFY(!DropOnto(&w.dialog, w.dir.Path().string()));
        QCOMPARE(fileName->text(), dropped);
    }

    // A file in any script comes into the file-name field by the start, Browse (the file
    // dialog) and a drop, and Search opens it. A Linux name that is not UTF-8, which the field
    // shows with U+FFFD, still names its file.
    void aFileInAnyScriptComesInByEveryWay() {
        for (const AnyFileName& name : kAnyFileNames) {
            const std::string file = std::string(name.folder) + "/" + name.file;
            Window w(kTinyFirmware, file);
            const QString path = FromFileName(w.dir.File(file));
            QCOMPARE(w.FileNameShown(), path);
            QVERIFY2(w.SearchOpensThePatchDialog(), name.language);

            w.Control<QLineEdit>(tpl::kFileName)->setText(QStringLiteral("kept.rgn"));
            WhenModalOpens([&path](QWidget* window) {
                auto* files = qobject_cast<QFileDialog*>(window);
                if (files == nullptr) {
                    window->close();
                    QFAIL("Browse opened no file dialog");
                }
                // The path typed into the dialog's name field, and its Open button.
                files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog*>(files)->accept();
            });
            w.Click(tpl::kBrowse);
            QCOMPARE(w.FileNameShown(), path);

            w.Control<QLineEdit>(tpl::kFileName)->setText(QStringLiteral("kept.rgn"));
            QVERIFY(DropOnto(&w.dialog, w.dir.File(file)));
            QCOMPARE(w.FileNameShown(), path);
        }
        Window latin1(kTinyFirmware, "caf\xE9.rgn");
        QVERIFY(latin1.FileNameShown().endsWith(QStringLiteral("caf\uFFFD.rgn")));
        QVERIFY(latin1.SearchOpensThePatchDialog());
    }

    // The icon, Alt+A (which the icon's tooltip names) open the About box over the window; View
    // help and F1 start the browser on the help page.
    void theAboutBoxAndTheHelpAreReachedByMouseAndKeyboard() {
        Window w;
        int aboutBoxes = 0;
        const auto noteAbout = [&](QWidget* about) {
            aboutBoxes += about->windowTitle() == QStringLiteral("About Tavlo") &&
                          about->parentWidget() == &w.dialog &&
                          about->findChild<QLabel*>(QStringLiteral("control1013"))
                              ->text()
                              .startsWith(QStringLiteral("Tavlo Version "));
            QTest::keyClick(about, Qt::Key_Return);
        };
        WhenModalOpens(noteAbout);
        w.Click(tpl::kIcon);
        WhenModalOpens(noteAbout);
        w.dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        QTest::keyClick(&w.dialog, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(aboutBoxes, 2);
        QVERIFY(w.Control(tpl::kIcon)->toolTip().contains(QStringLiteral("Alt+A")));

        // A browser that notes the address it was given.
        const std::string noted = w.dir.File("opened");
        WriteFile(w.dir.File("browser"), "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + noted + "'\n");
        std::filesystem::permissions(PathOf(w.dir.File("browser")),
                                     std::filesystem::perms::owner_all);
        ScopedEnv browser("BROWSER", w.dir.File("browser").c_str());
        w.Click(tpl::kViewHelp);
        w.dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        QTest::keyClick(&w.dialog, Qt::Key_F1);
        const std::string page = "file://" + w.dir.File("data") + "/tavlo/help/index.htm\n";
        QTRY_COMPARE(QString::fromStdString(FileExists(noted) ? ReadFile(noted) : ""),
                     QString::fromStdString(page + page));
    }
};

TAVLO_REGISTER_TEST(MainDialogTest);

}  // namespace tavlo::test

#include "main_dialog_test.moc"
