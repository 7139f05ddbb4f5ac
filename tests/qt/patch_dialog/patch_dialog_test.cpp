#include "patch_dialog_test.h"
#include "support/qt/test_registry.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <limits>
#include <memory>

#include "qt/dialog_units.h"
#include "qt/patch_dialog.h"
#include "qt/text_boundary.h"
#include "screen/screen_layout.h"
#include "settings/settings_file.h"
#include "support/qt/test_firmware.h"
#include "typing.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo::test {

namespace {

namespace tpl = patch_dialog_template;

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

// A found message with a line break of its own, 17 bytes.
const std::string kMessage = "WARNING\nKeep away";

std::string InfoLine(std::size_t length) {
    return "String to be replaced is " + std::to_string(length) + " bytes long:\n";
}

std::unique_ptr<PatchDialog> ShowDialog(const std::string& current, const std::string& proposed,
                                        const DeviceFont* font) {
    auto dialog = std::make_unique<PatchDialog>();
    dialog->SetRequest({current, InfoLine(current.size()), proposed, font});
    dialog->show();
    return dialog;
}

QPlainTextEdit* NewEdit(PatchDialog& dialog) {
    return dialog.findChild<QPlainTextEdit*>(QStringLiteral("newText"));
}
QPlainTextEdit* FoundEdit(PatchDialog& dialog) {
    return dialog.findChild<QPlainTextEdit*>(QStringLiteral("foundText"));
}
QLabel* Label(PatchDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name));
}
QPushButton* Button(PatchDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

QColor CounterColour(PatchDialog& dialog) {
    return Label(dialog, "counter")->palette().color(QPalette::WindowText);
}

// The device screen's first seven text lines, where the text goes, in client pixels.
QRect TextArea(const PatchDialog& dialog) {
    const QPoint origin = dialog.PreviewOrigin() + QPoint(10, 20);
    return QRect(origin, QSize(108 * dialog.Preview().magX, 84 * dialog.Preview().magY));
}

// Pixels of `colour` in the part of `area` that lies on the image.
int CountPixels(const QImage& image, const QRect& wanted, const QColor& colour) {
    const QRect area = wanted & image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixelColor(x, y) == colour;
        }
    }
    return count;
}

// The smallest rectangle holding every pixel of `colour` in the part of `area` on the image.
QRect BoundingBox(const QImage& image, const QRect& wanted, const QColor& colour) {
    const QRect area = wanted & image.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

QImage Grab(PatchDialog& dialog) {
    return dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void PatchDialogTest::initTestCase() {
    firmware_ = std::make_unique<LoadedFirmware>(FirmwareBytes(kMessage, true));
    QVERIFY(firmware_->loaded);
    QVERIFY(firmware_->fontFound);
}

void PatchDialogTest::cleanupTestCase() {
    firmware_.reset();
}

void PatchDialogTest::initialControlsShowTheFields() {
    const std::string proposed = "Owner\nPhone 123";  // 15 bytes
    const auto dialog =
        ShowDialog(kMessage, FitToLength(proposed, kMessage.size()), &firmware_->font);

    QCOMPARE(dialog->windowTitle(), QStringLiteral("Confirm / edit patch"));
    // The found message keeps its line break as a line break.
    QCOMPARE(FoundEdit(*dialog)->document()->blockCount(), 2);
    QCOMPARE(FoundEdit(*dialog)->document()->findBlockByNumber(1).text(),
             QStringLiteral("Keep away"));
    QVERIFY(FoundEdit(*dialog)->isReadOnly());
    QCOMPARE(Label(*dialog, "infoText")->text(),
             QStringLiteral("String to be replaced is 17 bytes long:\n"));
    QCOMPARE(NewEdit(*dialog)->toPlainText(), QStringLiteral("Owner\nPhone 123  "));
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 17 / characters left: 0"));
    QCOMPARE(CounterColour(*dialog), kBlack);
    QVERIFY(!dialog->IsOverLimit());
    QCOMPARE(dialog->focusWidget(), NewEdit(*dialog));
    QCOMPARE(dialog->Preview().font, &firmware_->font);
    QVERIFY(CountPixels(Grab(*dialog), TextArea(*dialog), kBlack) > 0);
}

void PatchDialogTest::foundMessageLineBreaksDoNotChangeItsLength() {
    // Three line breaks in the message; the box shows four lines, the counter still counts 10.
    const std::string message = "A\nB\n\nCDEFG";
    const auto dialog = ShowDialog(message, "xxxxxxxxxx", &firmware_->font);
    QCOMPARE(FoundEdit(*dialog)->document()->blockCount(), 4);
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 10 / characters left: 0"));
}

void PatchDialogTest::typingUpdatesCounterColourAndPreviewOnEveryKey() {
    const auto dialog = ShowDialog(kMessage, "Call 0123 456 7", &firmware_->font);  // 15 of 17
    QPlainTextEdit* edit = NewEdit(*dialog);
    edit->moveCursor(QTextCursor::End);
    QImage before = Grab(*dialog);

    struct Step {
        QString counter;
        QColor colour;
    };
    const Step steps[] = {
        {QStringLiteral("Current size: 16 / characters left: 1"), kBlack},
        {QStringLiteral("Current size: 17 / characters left: 0"), kBlack},
        {QStringLiteral("Current size: 18 / characters left: -1"), kRed},
        {QStringLiteral("Current size: 19 / characters left: -2"), kRed},
    };
    for (const Step& step : steps) {
        QTest::keyClick(edit, Qt::Key_8);
        QCOMPARE(Label(*dialog, "counter")->text(), step.counter);
        QCOMPARE(CounterColour(*dialog), step.colour);
        QCOMPARE(dialog->IsOverLimit(), step.colour == kRed);
        const QImage after = Grab(*dialog);
        QVERIFY2(after.copy(TextArea(*dialog)) != before.copy(TextArea(*dialog)),
                 "the preview did not change with the key");
        // The text is drawn wholly in the counter's colour.
        const QColor other = step.colour == kRed ? kBlack : kRed;
        QVERIFY(CountPixels(after, TextArea(*dialog), step.colour) > 0);
        QCOMPARE(CountPixels(after, TextArea(*dialog), other), 0);
        before = after;
    }
    // The counter is painted red, not only told to be.
    const QImage counter = Label(*dialog, "counter")->grab().toImage();
    QVERIFY(CountPixels(counter, counter.rect(), kRed) > 0);

    // Back at the limit everything is black again.
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 17 / characters left: 0"));
    QCOMPARE(CounterColour(*dialog), kBlack);
    QCOMPARE(CountPixels(Grab(*dialog), TextArea(*dialog), kRed), 0);
}

void PatchDialogTest::screenShowsWhatAFreshPaintShowsAfterEveryKey() {
    // Only the parts of the preview that a key changes are painted again; what is on the screen
    // must still be exactly what painting the whole dialog afresh gives.
    const std::string message(60, 'M');
    const auto dialog =
        ShowDialog(message, "Owner name\nPhone 0123\nStreet 4\nTown", &firmware_->font);
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QPlainTextEdit* edit = NewEdit(*dialog);
    const auto onScreen = [&] {
        QCoreApplication::processEvents();
        return dialog->screen()
            ->grabWindow(dialog->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .copy(dialog->PreviewArea());
    };
    const auto fresh = [&] { return Grab(*dialog).copy(dialog->PreviewArea()); };
    QCOMPARE(onScreen(), fresh());

    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(edit, key, modifiers);
    };
    edit->moveCursor(QTextCursor::Start);
    press(Qt::Key_W);  // the first line grows
    QCOMPARE(onScreen(), fresh());
    press(Qt::Key_Return);  // every line below moves down
    QCOMPARE(onScreen(), fresh());
    press(Qt::Key_Backspace);  // and back up
    QCOMPARE(onScreen(), fresh());
    edit->moveCursor(QTextCursor::End);
    for (int i = 0; i < 30; ++i) {  // past the limit: every line turns red
        press(Qt::Key_Z);
        QCOMPARE(onScreen(), fresh());
    }
    QVERIFY(dialog->IsOverLimit());
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Delete);  // nothing left
    QCOMPARE(edit->toPlainText(), QString());
    QCOMPARE(onScreen(), fresh());
    const QRect text = TextArea(*dialog).translated(-dialog->PreviewArea().topLeft());
    QCOMPARE(CountPixels(onScreen(), text, kBlack), 0);
    QCOMPARE(CountPixels(onScreen(), text, kRed), 0);
}

void PatchDialogTest::enterInsertsLineBreakAndKeepsDialogOpen() {
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    QPlainTextEdit* edit = NewEdit(*dialog);
    edit->moveCursor(QTextCursor::End);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    QCOMPARE(edit->toPlainText(), QStringLiteral("Owner\n\n"));
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 7 / characters left: 10"));
    QCOMPARE(finished.count(), 0);
    QVERIFY(dialog->isVisible());
}

void PatchDialogTest::whatTheReceiverHidesIsNotedUnderTheCounter() {
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    QLabel* note = Label(*dialog, "hiddenNote");
    QVERIFY(note->text().isEmpty());
    QVERIFY(note->y() >= Label(*dialog, "counter")->geometry().bottom());
    QPlainTextEdit* edit = NewEdit(*dialog);
    edit->moveCursor(QTextCursor::End);
    for (int line = 0; line < 7; ++line) {
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QTest::keyClicks(edit, QStringLiteral("Lost"));
    LitPixelGrid unused;
    const ScreenLayout layout(&firmware_->font, unused);
    const HiddenText hidden = layout.Hidden("Owner\n\n\n\n\n\n\nLost");
    QCOMPARE(hidden.linesBelow, 1);
    QCOMPARE(note->text(), QString::fromLatin1(HiddenTextNote(hidden)));
    for (int key = 0; key < 4; ++key) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    QVERIFY(note->text().isEmpty());
}

void PatchDialogTest::emptyBoxShowsWholeLengthAndNoText() {
    const auto dialog = ShowDialog(kMessage, "", &firmware_->font);
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 0 / characters left: 17"));
    QCOMPARE(CounterColour(*dialog), kBlack);
    const QImage image = Grab(*dialog);
    QCOMPARE(CountPixels(image, TextArea(*dialog), kBlack), 0);
    QCOMPARE(CountPixels(image, TextArea(*dialog), kRed), 0);
}

void PatchDialogTest::withoutFontCounterWorksAndNoTextIsDrawn() {
    const auto dialog = ShowDialog(kMessage, "Owner 1234567890", nullptr);  // 16 bytes
    QPlainTextEdit* edit = NewEdit(*dialog);
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, "xy");
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 18 / characters left: -1"));
    QCOMPARE(CounterColour(*dialog), kRed);
    const QImage image = Grab(*dialog);
    QCOMPARE(CountPixels(image, TextArea(*dialog), kRed), 0);
    QCOMPARE(CountPixels(image, TextArea(*dialog), kBlack), 0);
}

void PatchDialogTest::okTakesEditedTextOver() {
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    QPlainTextEdit* edit = NewEdit(*dialog);
    edit->moveCursor(QTextCursor::End);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "Tel 1");
    QCOMPARE(dialog->NewText(), std::string("Owner"));  // not before OK
    QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton);
    QCOMPARE(dialog->result(), 1);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->NewText(), std::string("Owner\nTel 1"));
    QCOMPARE(dialog->CurrentText(), kMessage);
}

void PatchDialogTest::cancelEscapeAndCloseBoxEndWithTwoAndKeepText() {
    for (int way = 0; way < 3; ++way) {
        const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
        QTest::keyClicks(NewEdit(*dialog), "changed");
        if (way == 0) {
            QTest::mouseClick(Button(*dialog, "cancel"), Qt::LeftButton);
        } else if (way == 1) {
            QTest::keyClick(NewEdit(*dialog), Qt::Key_Escape);
        } else {
            QVERIFY(dialog->close());
        }
        QCOMPARE(dialog->result(), 2);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->NewText(), std::string("Owner"));
    }
}

void PatchDialogTest::findNextEndsWithThreeAndKeepsText() {
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    QTest::keyClicks(NewEdit(*dialog), "changed");
    QTest::mouseClick(Button(*dialog, "findNext"), Qt::LeftButton);
    QCOMPARE(dialog->result(), 3);
    QCOMPARE(dialog->NewText(), std::string("Owner"));
}

void PatchDialogTest::mnemonicsReachTheirControls() {
    const struct {
        Qt::Key key;
        int result;
    } buttons[] = {{Qt::Key_O, 1}, {Qt::Key_C, 2}, {Qt::Key_F, 3}};
    for (const auto& button : buttons) {
        const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QTest::keyClick(QApplication::focusWidget(), button.key, Qt::AltModifier);
        // A mnemonic presses its button visibly: the click comes a moment later.
        QTRY_COMPARE(dialog->result(), button.result);
    }
    // "&Edit new contents here:" leads to the box it names.
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    Button(*dialog, "ok")->setFocus();
    QCOMPARE(QApplication::focusWidget(), Button(*dialog, "ok"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), NewEdit(*dialog));
    QCOMPARE(dialog->result(), 0);  // still running
}

void PatchDialogTest::tabOrderFollowsTemplate() {
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QCOMPARE(QApplication::focusWidget(), NewEdit(*dialog));
    const char* order[] = {"cancel", "ok", "findNext", "newText"};
    for (const char* name : order) {
        // Tab in the new-contents box moves on; it does not insert a tab.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
    }
    QCOMPARE(NewEdit(*dialog)->toPlainText(), QStringLiteral("Owner"));
    QVERIFY(Button(*dialog, "ok")->isDefault());
    QVERIFY(!Button(*dialog, "cancel")->isDefault());
}

void PatchDialogTest::controlsFollowTemplateInDialogUnits() {
    for (int pointSize : {8, 14}) {
        QFont font = QApplication::font();
        font.setPointSize(pointSize);
        const QFont previous = QApplication::font();
        QApplication::setFont(font);
        PatchDialog dialog;
        QApplication::setFont(previous);

        const DialogUnits units(dialog.QWidget::font());
        QCOMPARE(dialog.size(), QSize(units.ToPixelsX(tpl::kTemplate.width),
                                      units.ToPixelsY(tpl::kTemplate.height)));
        for (const ControlTemplate& control : tpl::kControls) {
            QWidget* widget = dialog.findChild<QWidget*>(QString::fromLatin1(control.objectName));
            QVERIFY(widget);
            QRect expected = units.ToPixels(control.x, control.y, control.width, control.height);
            if (control.id == tpl::kCounter) {
                // The counter reaches to 4 units before Find Next (at 159), so its numbers fit.
                expected.setRight(units.ToPixelsX(155) - 1);
            }
            QCOMPARE(widget->geometry(), expected);
            if (control.id != kNoControlId) {
                QCOMPARE(dialog.Control(control.id), widget);
            }
        }
    }
    PatchDialog dialog;
    QCOMPARE(Button(dialog, "ok")->text(), QStringLiteral("&OK"));
    QCOMPARE(Button(dialog, "cancel")->text(), QStringLiteral("&Cancel"));
    QCOMPARE(Button(dialog, "findNext")->text(), QStringLiteral("&Find Next"));
    QCOMPARE(Label(dialog, "previewLabel")->text(), QStringLiteral("Preview:"));
    QCOMPARE(Label(dialog, "newTextLabel")->text(), QStringLiteral("&Edit new contents here:"));
    QCOMPARE(NewEdit(dialog)->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(NewEdit(dialog)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void PatchDialogTest::previewFollowsControlsRealPositions() {
    // "#" and a line break: 7 + 1 + 0 + 1 = 9 columns, centred from column 49.
    const auto dialog = ShowDialog(kMessage, "#\n", &firmware_->font);
    QLabel* label = Label(*dialog, "previewLabel");
    QPlainTextEdit* found = FoundEdit(*dialog);
    QCOMPARE(dialog->PreviewOrigin(), QPoint(label->x() - 1, found->y()));

    const auto expectedBox = [&] {
        const QPoint origin = dialog->PreviewOrigin() + QPoint(10, 20);
        const int mag = dialog->Preview().magX;
        return QRect(origin.x() + 49 * mag, origin.y(), 7 * mag, 11 * dialog->Preview().magY);
    };
    const QRect before = TextArea(*dialog);
    QCOMPARE(BoundingBox(Grab(*dialog), before, kBlack), expectedBox());

    // Wherever the controls go, the picture follows at the next paint.
    label->move(label->x() + 23, label->y());
    found->move(found->x(), found->y() + 9);
    QCOMPARE(dialog->PreviewOrigin(), QPoint(label->x() - 1, found->y()));
    QCOMPARE(BoundingBox(Grab(*dialog), before | TextArea(*dialog), kBlack), expectedBox());

    if (!dialog->Preview().picture.isNull()) {
        // The picture's corner (its dark outline) lies exactly on the origin.
        const QImage image = Grab(*dialog);
        const QPoint corner = dialog->PreviewOrigin();
        QCOMPARE(image.pixelColor(corner), QColor(94, 100, 92));
        QVERIFY(image.pixelColor(corner - QPoint(1, 0)) != QColor(94, 100, 92));
    }
}

void PatchDialogTest::magnificationComesFromSettingsAndAnyValueIsSafe() {
    {
        // The store is emptied again whatever happens below.
        struct Settings {
            Settings() {
                AddConfigEntry("Display", "MagX", "3", 1);
                AddConfigEntry("Display", "MagY", "1", 2);
            }
            ~Settings() { FreeConfig(); }
        } settings;
        // "#" and a line break, centred from column 49, 7 columns wide, 11 rows high.
        const auto dialog = ShowDialog(kMessage, "#\n", &firmware_->font);
        QCOMPARE(dialog->Preview().magX, 3);
        QCOMPARE(dialog->Preview().magY, 1);
        const QPoint text = dialog->PreviewOrigin() + QPoint(10, 20);
        // Searched in the first text line only: at this height the picture's black caption
        // reaches into the screen's lower lines.
        QCOMPARE(BoundingBox(Grab(*dialog), QRect(text, QSize(108 * 3, 12)), kBlack),
                 QRect(text.x() + 49 * 3, text.y(), 7 * 3, 11));
    }
    // The settings bound nothing: no magnification, or an absurd one, draws what it can and
    // leaves the rest of the dialog working.
    for (const int magnification : {0, -4, 1 << 30, std::numeric_limits<int>::max()}) {
        PatchDialog dialog;
        dialog.Preview().magX = magnification;
        dialog.Preview().magY = magnification;
        dialog.SetRequest({kMessage, "", "Owner", &firmware_->font});
        dialog.show();
        QTest::keyClicks(NewEdit(dialog), "12");
        QCoreApplication::processEvents();
        QCOMPARE(Label(dialog, "counter")->text(),
                 QStringLiteral("Current size: 7 / characters left: 10"));
        const QImage image = Grab(dialog);
        if (magnification <= 0) {
            // Nothing of the preview right of the edit boxes, down to the buttons.
            const QRect free(dialog.PreviewOrigin(),
                             QPoint(dialog.width() - 1, Button(dialog, "findNext")->y() - 1));
            QCOMPARE(CountPixels(image, free, kBlack), 0);
            QCOMPARE(CountPixels(image, free, QColor(94, 100, 92)), 0);  // the picture's outline
        }
        QTest::mouseClick(Button(dialog, "ok"), Qt::LeftButton);
        QCOMPARE(dialog.NewText(), std::string("12Owner"));
    }
}

void PatchDialogTest::resizingMovesNothing() {
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    QList<QRect> before;
    for (const ControlTemplate& control : tpl::kControls) {
        before << dialog->findChild<QWidget*>(QString::fromLatin1(control.objectName))->geometry();
    }
    const QPoint origin = dialog->PreviewOrigin();
    const QRect box = BoundingBox(Grab(*dialog), TextArea(*dialog), kBlack);
    const QSize templateSize = dialog->size();
    for (const QSize size : {dialog->size() * 2, dialog->size() / 2}) {
        dialog->resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(dialog->size(), templateSize);  // the frame keeps the template's size
        for (std::size_t i = 0; i < std::size(tpl::kControls); ++i) {
            const char* name = tpl::kControls[i].objectName;
            QCOMPARE(dialog->findChild<QWidget*>(QString::fromLatin1(name))->geometry(),
                     before[static_cast<qsizetype>(i)]);
        }
        QCOMPARE(dialog->PreviewOrigin(), origin);
    }
    dialog->resize(dialog->size() * 4);
    QCOMPARE(BoundingBox(Grab(*dialog), TextArea(*dialog), kBlack), box);
}

void PatchDialogTest::charactersOutsideWindows1252AreRefused() {
    const auto dialog = ShowDialog(kMessage, "", &firmware_->font);
    QPlainTextEdit* edit = NewEdit(*dialog);
    auto* guard = edit->findChild<Windows1252Guard*>();
    QVERIFY(guard);
    QSignalSpy refused(guard, &Windows1252Guard::refused);

    Type(edit, QStringLiteral("A\u03A9B"));  // Ω has no Windows-1252 byte
    QCOMPARE(edit->toPlainText(), QStringLiteral("AB"));
    QCOMPARE(edit->textCursor().position(), 2);
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 2 / characters left: 15"));
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.at(0).at(0).toString(), QStringLiteral("\u03A9"));

    // Pasted: an emoji (two UTF-16 units) in the middle of acceptable text.
    edit->insertPlainText(QStringLiteral("x\U0001F600y\u20AC"));  // € is 0x80
    QCOMPARE(edit->toPlainText(), QStringLiteral("ABxy\u20AC"));
    QCOMPARE(refused.count(), 2);
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 5 / characters left: 12"));

    QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton);
    QCOMPARE(dialog->NewText(), std::string("ABxy\x80"));
}

void PatchDialogTest::carriageReturnsBecomeSingleLineBreaks() {
    const auto dialog = ShowDialog(kMessage, "", &firmware_->font);
    QPlainTextEdit* edit = NewEdit(*dialog);
    edit->insertPlainText(QStringLiteral("a\r\nb\rc\nd"));
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 7 / characters left: 10"));
    QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton);
    QCOMPARE(dialog->NewText(), std::string("a\nb\nc\nd"));
}

void PatchDialogTest::everyByteSurvivesTheRoundTrip() {
    // No-break space, soft hyphen, the euro sign, an undefined byte, Ó, ÿ, a tab.
    const std::string text =
        "A\xA0"
        "B\xAD\x80\x81\xD3\xFF\t";
    const auto dialog = ShowDialog(text, text, &firmware_->font);
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 9 / characters left: 0"));
    QTest::mouseClick(Button(*dialog, "ok"), Qt::LeftButton);
    QCOMPARE(dialog->NewText(), text);
}

void PatchDialogTest::showingAgainStartsFromTheFields() {
    const auto dialog = ShowDialog(kMessage, "Owner", &firmware_->font);
    QTest::keyClicks(NewEdit(*dialog), "typed");
    QTest::mouseClick(Button(*dialog, "cancel"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());

    // The next match: other texts, and an image without a receiver font.
    dialog->SetRequest({"WARNUNG", InfoLine(7), "Besitzer", nullptr});
    dialog->show();
    QCOMPARE(FoundEdit(*dialog)->toPlainText(), QStringLiteral("WARNUNG"));
    QCOMPARE(NewEdit(*dialog)->toPlainText(), QStringLiteral("Besitzer"));
    QCOMPARE(Label(*dialog, "counter")->text(),
             QStringLiteral("Current size: 8 / characters left: -1"));
    QCOMPARE(CounterColour(*dialog), kRed);
    QCOMPARE(dialog->Preview().font, nullptr);
    QTest::keyClick(NewEdit(*dialog), Qt::Key_Delete);
    QCOMPARE(CounterColour(*dialog), kBlack);
    const QImage image = Grab(*dialog);
    QCOMPARE(CountPixels(image, TextArea(*dialog), kBlack), 0);
    QCOMPARE(CountPixels(image, TextArea(*dialog), kRed), 0);
}

void PatchDialogTest::execEndsWithTheButtonPressed() {
    PatchDialog dialog;
    dialog.SetRequest({kMessage, InfoLine(kMessage.size()), "Owner", &firmware_->font});
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* running = qobject_cast<PatchDialog*>(QApplication::activeModalWidget());
        seen = running == &dialog;
        if (running) {
            QTest::keyClicks(NewEdit(*running), "X");
            QTest::mouseClick(Button(*running, "ok"), Qt::LeftButton);
        }
    });
    // Should the dialog not be found, nothing would end it: a watchdog does.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, &dialog, &QDialog::reject);
    watchdog.start(10000);
    QCOMPARE(dialog.exec(), 1);
    QVERIFY(seen);
    QCOMPARE(dialog.NewText(), std::string("XOwner"));
}

TAVLO_REGISTER_TEST(PatchDialogTest);

}  // namespace tavlo::test
