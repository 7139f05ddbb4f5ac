#include "text_boundary_test.h"
#include "support/qt/test_registry.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include "qt/text_boundary.h"
#include "typing.h"

namespace tavlo::test {

void TextBoundaryTest::everyByteRoundTrips() {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const QString shown = FromWindows1252(all);
    QCOMPARE(shown.size(), 256);
    QCOMPARE(shown.at(0x80), QChar(0x20AC));  // euro sign
    QCOMPARE(shown.at(0x81), QChar(0x0081));  // undefined: its C1 control
    QCOMPARE(shown.at(0xD3), QChar(0x00D3));  // Ó as in "ATENCIÓN"
    QVERIFY(IsWindows1252(shown));
    QCOMPARE(ToWindows1252(shown), all);
}

void TextBoundaryTest::unrepresentableCharactersAreFound() {
    QChar bad;
    QVERIFY(IsWindows1252(QStringLiteral("Caf\u00E9 \u20AC \u0152 \u2122"), &bad));
    QVERIFY(!IsWindows1252(QStringLiteral("ab\u03A9c\u0416"), &bad));
    QCOMPARE(bad, QChar(0x03A9));
    QVERIFY(!IsWindows1252(QStringLiteral("x\U0001F600"), &bad));
    QVERIFY(bad.isHighSurrogate());
    // Never replaced by something else: what the code page cannot hold is left out.
    QCOMPARE(ToWindows1252(QStringLiteral("a\u03A9b\U0001F600c")), std::string("abc"));
}

void TextBoundaryTest::lineBreaksBecomeSingleNewlines() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("a\r\nb\rc\nd\u00A0e"));
    // Shift+Enter's line separator counts as a line break too.
    QTextCursor(&document).insertText(QString(QChar::LineSeparator));
    QCOMPARE(PlainTextWithNewlines(document), QStringLiteral("\na\nb\nc\nd\u00A0e"));
}

void TextBoundaryTest::lineEditRefusesTypedAndPastedCharacters() {
    QLineEdit field;
    auto* guard = Windows1252Guard::Attach(&field);
    QVERIFY(guard);
    QSignalSpy refused(guard, &Windows1252Guard::refused);
    Type(&field, QStringLiteral("ab\u03A9c\U0001F600d"));
    QCOMPARE(field.text(), QStringLiteral("abcd"));
    QCOMPARE(field.cursorPosition(), 4);
    QCOMPARE(refused.count(), 2);
    QCOMPARE(refused.at(1).at(0).toString(), QStringLiteral("\U0001F600"));

    field.setCursorPosition(2);
    field.insert(QStringLiteral("X\U0001F600\u0416Y\u00FF"));  // what a paste does
    QCOMPARE(field.text(), QStringLiteral("abXY\u00FFcd"));
    QCOMPARE(field.cursorPosition(), 5);
    QCOMPARE(refused.count(), 3);
    QCOMPARE(refused.at(2).at(0).toString(), QStringLiteral("\U0001F600\u0416"));
}

void TextBoundaryTest::editableComboBoxRefusesCharacters() {
    QComboBox fixed;
    QCOMPARE(Windows1252Guard::Attach(&fixed), nullptr);  // nothing to type into

    QComboBox combo;
    combo.setEditable(true);
    auto* guard = Windows1252Guard::Attach(&combo);
    QVERIFY(guard);
    QSignalSpy refused(guard, &Windows1252Guard::refused);
    Type(combo.lineEdit(), QStringLiteral("WARN\u03A9ING"));
    QCOMPARE(combo.currentText(), QStringLiteral("WARNING"));
    QCOMPARE(refused.count(), 1);
    Type(combo.lineEdit(), QStringLiteral("\u00C9"));
    QCOMPARE(combo.currentText(), QStringLiteral("WARNING\u00C9"));
    QCOMPARE(refused.count(), 1);
}

void TextBoundaryTest::plainTextEditRefusesTypedComposedAndPasted() {
    QPlainTextEdit box;
    box.setPlainText(QStringLiteral("a\u03A9b"));  // text already there is checked as well
    auto* guard = Windows1252Guard::Attach(&box);
    QVERIFY(guard);
    QCOMPARE(box.toPlainText(), QStringLiteral("ab"));

    QSignalSpy refused(guard, &Windows1252Guard::refused);
    box.moveCursor(QTextCursor::End);
    Type(&box, QStringLiteral("c\u03A9"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("d"));
    QCOMPARE(box.toPlainText(), QStringLiteral("abc\nd"));
    QCOMPARE(box.textCursor().position(), 5);
    QCOMPARE(refused.count(), 1);
    // A refused key never reaches the document: the typing undoes and redoes as usual.
    box.undo();
    QVERIFY(box.toPlainText() != QStringLiteral("abc\nd"));
    box.redo();
    QCOMPARE(box.toPlainText(), QStringLiteral("abc\nd"));

    // An input method's commit keeps its representable part.
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("x\u0416y"));
    QCoreApplication::sendEvent(&box, &composed);
    QCOMPARE(box.toPlainText(), QStringLiteral("abc\ndxy"));
    QCOMPARE(refused.count(), 2);

    // A paste is cleaned at once; undo cannot bring the removed characters back.
    box.insertPlainText(QStringLiteral("\u4E2Dok\U0001F600"));
    QCOMPARE(box.toPlainText(), QStringLiteral("abc\ndxyok"));
    QCOMPARE(box.textCursor().position(), 9);
    QCOMPARE(refused.count(), 3);
    QCOMPARE(refused.at(2).at(0).toString(), QStringLiteral("\u4E2D\U0001F600"));
    box.undo();
    QCOMPARE(box.toPlainText(), QStringLiteral("abc\ndxyok"));
}

void TextBoundaryTest::otherWidgetsGetNoGuard() {
    QLabel label;
    QCOMPARE(Windows1252Guard::Attach(&label), nullptr);
}

TAVLO_REGISTER_TEST(TextBoundaryTest);

}  // namespace tavlo::test
