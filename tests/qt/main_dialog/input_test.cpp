// What the user puts into the fields: typing limits, characters Windows-1252 lacks, Browse and
// a file dropped onto the window.
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>

#include "expected_texts.h"
#include "qt/text_boundary.h"
#include "support/qt/test_registry.h"
#include "support/qt/workspace.h"
#include "workflow/main_dialog_template.h"

namespace tavlo::test {

namespace {

using namespace std::string_literals;

// Drags `mime` over `target` and drops it there, as the window system delivers a drop.
bool DropOnto(QWidget* target, std::unique_ptr<QMimeData> mime) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// Types `text` as a keyboard with those characters would: one key event per character. (QTest
// only knows keys for Latin-1 characters.)
void Type(QWidget* field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

std::unique_ptr<QMimeData> FileDrag(const std::string& path) {
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    mime->setText(QUrl::fromLocalFile(QString::fromStdString(path)).toString());
    return mime;
}

}  // namespace

class InputTest : public QObject {
    Q_OBJECT

private slots:
    void typingInFileFieldStopsAt128() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        t.SetFileField("");
        t.FileField()->setFocus();
        QTest::keyClicks(t.FileField(), QString(130, u'x'));
        QCOMPARE(t.FileField()->text(), QString(128, u'x'));
        // Shortening is always allowed, and the program's own text is never cut.
        QTest::keyClick(t.FileField(), Qt::Key_Backspace);
        QCOMPARE(t.FileField()->text().size(), 127);
        t.SetFileField(std::string(200, 'p'));
        QCOMPARE(t.FileField()->text().size(), 200);
        QTest::keyClick(t.FileField(), Qt::Key_End);
        QTest::keyClick(t.FileField(), Qt::Key_Backspace);
        QCOMPARE(t.FileField()->text().size(), 199);
        QTest::keyClicks(t.FileField(), QStringLiteral("q"));
        QCOMPARE(t.FileField()->text().size(), 199);
    }

    void typingInSearchFieldStopsAtItsWidth() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        QLineEdit* edit = t.SearchBox()->lineEdit();
        t.SetSearchText("");
        edit->setFocus();
        QTest::keyClicks(edit, QString(200, u'W'));
        const int typed = edit->text().size();
        QVERIFY2(typed > 10 && typed < 200, qPrintable(QString::number(typed)));
        // What was taken fits the field, and one more letter would not have.
        const QFontMetrics metrics = edit->fontMetrics();
        QVERIFY(metrics.horizontalAdvance(edit->text()) <= edit->contentsRect().width());
        QVERIFY(metrics.horizontalAdvance(edit->text() + u'W') >
                edit->contentsRect().width() - metrics.horizontalAdvance(u'W') - 8);
    }

    void characterOutsideWindows1252IsRefused() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        t.SetSearchText("");
        QLineEdit* edit = t.SearchBox()->lineEdit();
        edit->setFocus();
        Type(edit, QStringLiteral("A\u03A9\u20ACB"));  // Omega has no byte; the euro has
        QCOMPARE(edit->text(), QStringLiteral("A\u20ACB"));
        QVERIFY(t.Dialog().UpdateData(true));
        QCOMPARE(t.Dialog().SearchText(), "A\x80"s + "B");

        t.SetFileField("");
        t.FileField()->setFocus();
        Type(t.FileField(), QStringLiteral("\u00DCber\u4E2D.rgn"));
        QCOMPARE(t.FileField()->text(), QStringLiteral("\u00DCber.rgn"));
        QVERIFY(t.Dialog().UpdateData(true));
        QCOMPARE(t.Dialog().FileName(), "\xDC"s + "ber.rgn");
    }

    void fileNameWithAccentLoadsTheFileSystemsName() {
        Workspace work;
        QVERIFY(work.Write("M\xC3\xBCller.rgn", TwoMessageFirmware()));  // UTF-8 on disk
        ScopedEnv lcAll("LC_ALL", "en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.FileField()->text(), QStringLiteral("M\u00FCller.rgn"));
        QCOMPARE(t.Dialog().FileName(), "M\xFCller.rgn"s);  // Windows-1252 inside
        t.confirmer.answers.push_back({Answer::Cancel, std::nullopt});
        t.Click(kIdSearch);
        QVERIFY(t.ui.messages.empty());
        QCOMPARE(t.confirmer.requests.size(), std::size_t{1});
    }

    void browseFillsFieldWithChosenPath() {
        Workspace work;
        QVERIFY(work.Write("one.rgn", "1"));
        ScopedEnv lcAll("LC_ALL", "en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        const QString chosen = QString::fromStdString(work.File("picked.rgn"));
        t.ui.fileChoices.push_back(chosen);
        t.Click(kIdBrowse);

        QCOMPARE(t.ui.fileRequests.size(), std::size_t{1});
        const ScriptedUi::FileRequest& request = t.ui.fileRequests[0];
        QCOMPARE(request.owner, static_cast<QWidget*>(&t.Dialog()));
        QCOMPARE(request.initialName, QStringLiteral("one.rgn"));
        QCOMPARE(request.defaultExtension, QStringLiteral("rgn"));
        QCOMPARE(request.filters.size(), std::size_t{2});
        QCOMPARE(QString::fromLatin1(request.filters[0].description),
                 QStringLiteral("Firmware files (*.rgn)"));
        QCOMPARE(QString::fromLatin1(request.filters[0].patterns), QStringLiteral("*.rgn"));
        QCOMPARE(QString::fromLatin1(request.filters[1].description),
                 QStringLiteral("All files (*.*)"));
        QCOMPARE(QString::fromLatin1(request.filters[1].patterns), QStringLiteral("*.*"));

        QCOMPARE(t.FileField()->text(), chosen);
        QCOMPARE(t.Dialog().FileName(), work.File("picked.rgn"));
        // Browse only names the file: nothing is loaded.
        QVERIFY(t.image.Data() == nullptr);
    }

    void browseKeepsWhatTheUserTypedInTheOtherField() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        t.SetSearchText("ATTENTION");
        t.ui.fileChoices.push_back(QStringLiteral("/x/y.rgn"));
        t.Click(kIdBrowse);
        QCOMPARE(t.SearchBox()->currentText(), QStringLiteral("ATTENTION"));
        QCOMPARE(t.FileField()->text(), QStringLiteral("/x/y.rgn"));
    }

    void browseCancelChangesNothing() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        t.SetFileField("typed.rgn");
        t.ui.fileChoices.push_back(QString());
        t.Click(kIdBrowse);
        QCOMPARE(t.ui.fileRequests.size(), std::size_t{1});
        QCOMPARE(t.ui.fileRequests[0].initialName, QStringLiteral("typed.rgn"));
        QCOMPARE(t.FileField()->text(), QStringLiteral("typed.rgn"));
        QVERIFY(t.ui.messages.empty());
    }

    void browsedNameOutsideWindows1252IsRefused() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        t.SetFileField("typed.rgn");
        t.ui.fileChoices.push_back(QStringLiteral("/data/\u65E5\u672C.rgn"));
        t.Click(kIdBrowse);
        QCOMPARE(t.ui.messages.size(), std::size_t{1});
        QCOMPARE(t.ui.messages[0].title, "Tavlo : Unsupported file name"s);
        QCOMPARE(t.FileField()->text(), QStringLiteral("typed.rgn"));
    }

    void droppedFileFillsFileField() {
        Workspace work;
        QVERIFY(work.Write("dropped.rgn", TwoMessageFirmware()));
        DialogUnderTest t(work.ProgramPath());
        t.SetSearchText("typed");
        QVERIFY(DropOnto(&t.Dialog(), FileDrag(work.File("dropped.rgn"))));
        QCOMPARE(t.FileField()->text(), QString::fromStdString(work.File("dropped.rgn")));
        QCOMPARE(t.SearchBox()->currentText(), QStringLiteral("typed"));
    }

    void fileDroppedOnAFieldNamesTheFileNotItsAddress() {
        Workspace work;
        QVERIFY(work.Write("dropped.rgn", "x"));
        DialogUnderTest t(work.ProgramPath());
        t.SetFileField("");
        QVERIFY(DropOnto(t.FileField(), FileDrag(work.File("dropped.rgn"))));
        QCOMPARE(t.FileField()->text(), QString::fromStdString(work.File("dropped.rgn")));
        QVERIFY(DropOnto(t.SearchBox()->lineEdit(), FileDrag(work.File("dropped.rgn"))));
        QCOMPARE(t.FileField()->text(), QString::fromStdString(work.File("dropped.rgn")));
        QVERIFY(!t.SearchBox()->currentText().contains(QStringLiteral("file:")));
    }

    void folderOrPlainTextIsNotTakenAsFile() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        t.SetFileField("kept.rgn");
        QVERIFY(!DropOnto(&t.Dialog(), FileDrag(work.Folder().string())));
        auto text = std::make_unique<QMimeData>();
        text->setText(QStringLiteral("hello"));
        QVERIFY(!DropOnto(&t.Dialog(), std::move(text)));
        QCOMPARE(t.FileField()->text(), QStringLiteral("kept.rgn"));
    }
};

TAVLO_REGISTER_TEST(InputTest);

}  // namespace tavlo::test

#include "input_test.moc"
