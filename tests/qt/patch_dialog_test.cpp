// The patch dialog's own wiring: what the user sees right of the boxes is the flow's preview
// raster pixel for pixel after every key, the counter is painted in its colour, keys and buttons
// reach the flow, every byte survives the widgets, and the dialog makes room for a large
// preview. What the dialog says is the flow's (tests/workflow).
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QtMath>
#include <functional>
#include <memory>

#include "qt/patch_dialog.h"
#include "support/qt/modal_helper.h"
#include "support/qt/test_firmware.h"
#include "support/qt/test_registry.h"
#include "typing.h"

namespace tavlo::test {

namespace {

const std::string kMessage = "WARNING\nKeep away";  // 17 bytes, a line break of its own

// The dialog shown over a request as the confirmer shows it, without its modal loop.
struct Shown {
    explicit Shown(PatchRequest shownRequest) : request(std::move(shownRequest)) {
        dialog.SetFlow(flow);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            QTest::qFail("the patch dialog was not shown", __FILE__, __LINE__);
        }
    }
    QPlainTextEdit* Box() { return dialog.findChild<QPlainTextEdit*>(QStringLiteral("newText")); }
    QLabel* Counter() { return dialog.findChild<QLabel*>(QStringLiteral("counter")); }
    // What the screen shows now of the preview's place, in device pixels. The offscreen
    // platform cuts a window's own picture to its size in logical pixels, so the whole screen
    // is taken, on which it puts each window's device pixels at the window's logical place.
    QImage OnScreen() {
        QCoreApplication::processEvents();
        const qreal ratio = dialog.devicePixelRatioF();
        const QPoint corner =
            dialog.mapToGlobal(QPoint(0, 0)) + dialog.PreviewArea().topLeft() * ratio;
        QImage shown = dialog.screen()
                           ->grabWindow(0)
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32)
                           .copy(QRect(corner, QSize(flow.Preview().width, flow.Preview().height)));
        shown.setDevicePixelRatio(1);
        return shown;
    }

    PatchRequest request;
    PatchDialog dialog;
    PatchDialogFlow flow{request, dialog};
};

QImage ImageOf(const RgbRaster& raster) {
    QImage image(raster.width, raster.height, QImage::Format_RGB32);
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            const Rgb& c = raster.At(x, y);
            image.setPixel(x, y, qRgb(c.red, c.green, c.blue));
        }
    }
    return image;
}

int PixelsOf(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == colour;
        }
    }
    return count;
}

}  // namespace

class PatchDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        firmware_ = std::make_unique<LoadedFirmware>(FirmwareBytes(kMessage, true));
        QVERIFY(firmware_->fontFound);
    }
    void cleanupTestCase() { firmware_.reset(); }

    // Only the lines a key changes are painted again; what is on the screen is still, after
    // every key, the flow's raster, one device pixel each at the screen's scale (run at device
    // pixel ratios 1 and 2), and the counter is painted in its colour.
    void theScreenShowsTheRasterAfterEveryKey() {
        Shown s({std::string(33, 'M'), "", "Owner name\nPhone 0123\nStreet 4", &firmware_->font});
        const int scale = DisplayScale(qRound(96 * s.dialog.devicePixelRatioF()));
        QCOMPARE(s.flow.Preview().width, 120 * kDefaultMagnification * scale);
        QCOMPARE(s.dialog.PreviewArea().width(),
                 qCeil(s.flow.Preview().width / s.dialog.devicePixelRatioF()));
        QCOMPARE(s.OnScreen(), ImageOf(s.flow.Preview()));
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(s.Box(), key, modifiers);
            QCOMPARE(s.OnScreen(), ImageOf(s.flow.Preview()));
        };
        s.Box()->moveCursor(QTextCursor::Start);
        press(Qt::Key_W);          // the first line grows
        press(Qt::Key_Return);     // every line below moves down
        press(Qt::Key_Backspace);  // and back up
        s.Box()->moveCursor(QTextCursor::End);
        for (int i = 0; i < 4; ++i) {  // past the limit: every line turns red
            press(Qt::Key_Z);
        }
        const QImage counter = s.Counter()->grab().toImage();
        QVERIFY(PixelsOf(counter, QColor(255, 0, 0)) > 0);
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Delete);  // nothing left: the picture alone
        QCOMPARE(s.Counter()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    }

    // Through the confirmer, as the search runs it: typed keys (Enter a line break) reach the
    // flow, and each button ends the dialog with its answer; only OK takes the text over.
    void keysAndButtonsReachTheFlow() {
        struct Row {
            const char* way;
            std::function<void(QWidget*)> end;
            Answer answer;
            std::string newText;
        };
        const auto click = [](const char* name) {
            return [name](QWidget* dialog) {
                QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(name)),
                                  Qt::LeftButton);
            };
        };
        const Row rows[] = {
            {"OK", click("ok"), Answer::Ok, "Jane\nDoe"},
            {"Find Next", click("findNext"), Answer::FindNext, "Owner"},
            {"Cancel", click("cancel"), Answer::Cancel, "Owner"},
            {"Escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, Answer::Cancel,
             "Owner"},
            {"the close box", [](QWidget* d) { d->close(); }, Answer::Cancel, "Owner"},
        };
        for (const Row& row : rows) {
            PatchRequest request{kMessage, "", "Owner", &firmware_->font};
            WhenModalOpens([&](QWidget* dialog) {
                auto* box = dialog->findChild<QPlainTextEdit*>(QStringLiteral("newText"));
                box->selectAll();
                QTest::keyClicks(box, QStringLiteral("Jane"));
                QTest::keyClick(box, Qt::Key_Return);
                QTest::keyClicks(box, QStringLiteral("Doe"));
                QVERIFY2(dialog->isVisible(), row.way);  // Enter is a line break, no OK
                row.end(dialog);
            });
            DialogPatchConfirmer confirmer;
            QCOMPARE(confirmer.Confirm(request), row.answer);
            QCOMPARE(request.newText, row.newText);
        }
    }

    // The found message shows its line breaks; every byte of the code page, and line breaks of
    // any kind, come back from the box as the program's bytes.
    void everyByteSurvivesTheWidgets() {
        const std::string bytes =
            "A\xA0"
            "B\xAD\x80\x81\xD3\xFF\t";
        Shown s({"A\nB\n\nCDEFG", "", bytes, nullptr});
        QCOMPARE(s.dialog.findChild<QPlainTextEdit*>(QStringLiteral("foundText"))
                     ->document()
                     ->blockCount(),
                 4);
        QCOMPARE(s.dialog.NewText(), bytes);
        s.Box()->clear();
        s.Box()->insertPlainText(QStringLiteral("a\r\nb\rc\nd"));
        Type(s.Box(), QStringLiteral("\u03A9\u20AC"));  // Omega is refused, the euro is 0x80
        QCOMPARE(s.dialog.NewText(), std::string("a\nb\nc\nd\x80"));
    }

    // A file without a receiver font: where the picture would be, a note says so.
    void withoutAFontThePreviewsPlaceSaysWhy() {
        Shown s({kMessage, "", "Owner", nullptr});
        const auto* note = s.dialog.findChild<QLabel*>(QStringLiteral("previewNote"));
        QVERIFY(note != nullptr);
        QVERIFY(note->isVisible());
        QVERIFY(!note->text().isEmpty());
        QCOMPARE(note->geometry(), s.dialog.PreviewArea());
    }

    // A magnification whose picture would reach under the buttons: the row of buttons moves
    // below it and the dialog grows, in any font.
    void aLargePreviewGetsRoomOfItsOwn() {
        Shown s({kMessage, "", "Owner", &firmware_->font, 3, 3});
        const QRect preview = s.dialog.PreviewArea();
        QCOMPARE(preview.size(), QSize(360, 399));
        for (const char* name : {"findNext", "cancel", "ok", "counter"}) {
            const QWidget* control = s.dialog.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(!control->geometry().intersects(preview), name);
        }
        QVERIFY(s.dialog.rect().contains(preview));
    }

private:
    std::unique_ptr<LoadedFirmware> firmware_;  // an image with a receiver font in it
};

TAVLO_REGISTER_TEST(PatchDialogTest);

}  // namespace tavlo::test

#include "patch_dialog_test.moc"
