#include "patch_confirmer_test.h"
#include "support/qt/test_registry.h"
#include "workflow/search_loop.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "modal_driver.h"
#include "qt/main_dialog.h"
#include "qt/patch_confirmer.h"
#include "qt/ui_services.h"
#include "support/qt/test_firmware.h"
#include "typing.h"
#include "workflow/patch_step.h"

namespace tavlo::test {

namespace {

const std::string kMessage = "WARNING: read the manual";  // 24 bytes

QString FoundText(PatchDialog& dialog) {
    return dialog.findChild<QPlainTextEdit*>(QStringLiteral("foundText"))->toPlainText();
}

QPlainTextEdit* NewEdit(PatchDialog& dialog) {
    return dialog.findChild<QPlainTextEdit*>(QStringLiteral("newText"));
}

void Press(PatchDialog& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

// Replaces the box's whole text by typing.
void TypeOver(PatchDialog& dialog, const QString& text) {
    NewEdit(dialog)->selectAll();
    QTest::keyClick(NewEdit(dialog), Qt::Key_Delete);
    Type(NewEdit(dialog), text);
}

std::string ReadWholeFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

}  // namespace

void PatchConfirmerTest::okCopiesEditedTextBack() {
    PatchRequest request{"WARNING\nline", "String to be replaced is 12 bytes long:\n",
                         "Owner       ", nullptr};
    ModalDriver driver([](PatchDialog& dialog) {
        QCOMPARE(dialog.CurrentText(), std::string("WARNING\nline"));
        QCOMPARE(dialog.InfoText(), std::string("String to be replaced is 12 bytes long:\n"));
        QCOMPARE(dialog.ReceiverFont(), nullptr);
        TypeOver(dialog, QStringLiteral("Jane"));
        QTest::keyClick(NewEdit(dialog), Qt::Key_Return);
        QTest::keyClicks(NewEdit(dialog), QStringLiteral("Doe"));
        Press(dialog, "ok");
    });
    DialogPatchConfirmer confirmer;
    QCOMPARE(confirmer.Confirm(request), Answer::Ok);
    QCOMPARE(driver.runs, 1);
    QCOMPARE(request.newText, std::string("Jane\nDoe"));
}

void PatchConfirmerTest::cancelAndFindNextLeaveRequestAlone() {
    for (const char* button : {"cancel", "findNext"}) {
        PatchRequest request{"WARNING", "String to be replaced is 7 bytes long:\n", "Owner  ",
                             nullptr};
        ModalDriver driver([button](PatchDialog& dialog) {
            TypeOver(dialog, QStringLiteral("changed"));
            Press(dialog, button);
        });
        DialogPatchConfirmer confirmer;
        const Answer expected = std::string(button) == "cancel" ? Answer::Cancel : Answer::FindNext;
        QCOMPARE(confirmer.Confirm(request), expected);
        QCOMPARE(driver.runs, 1);
        QCOMPARE(request.newText, std::string("Owner  "));
    }
}

void PatchConfirmerTest::patchStepWritesOnlyAfterOk() {
    const std::string original = FirmwareBytes(kMessage, true);
    const std::size_t at = original.find(kMessage);

    // Cancel: the image stays as it was.
    {
        LoadedFirmware firmware(original);
        QVERIFY(firmware.loaded);
        ModalDriver driver([](PatchDialog& dialog) {
            QVERIFY(dialog.ReceiverFont() != nullptr);  // the image carries a receiver font
            QCOMPARE(dialog.NewText().size(), kMessage.size());
            TypeOver(dialog, QStringLiteral("Jane Doe"));
            Press(dialog, "cancel");
        });
        DialogPatchConfirmer confirmer;
        QCOMPARE(RunSearch(firmware.image, "WARNING", confirmer).answer, Answer::Cancel);
        QCOMPARE(driver.runs, 1);
        QVERIFY(!firmware.image.IsModified());
        QCOMPARE(std::string(reinterpret_cast<const char*>(firmware.image.Data()),
                             firmware.image.Length()),
                 original);
    }
    // OK: the edited text, padded to the message's length, is written over it and saved.
    {
        LoadedFirmware firmware(original);
        QVERIFY(firmware.loaded);
        ModalDriver driver([](PatchDialog& dialog) {
            TypeOver(dialog, QStringLiteral("Jane Doe"));
            QTest::keyClick(NewEdit(dialog), Qt::Key_Return);
            Type(NewEdit(dialog), QStringLiteral("Caf\u00E9 \u20AC5"));
            Press(dialog, "ok");
        });
        DialogPatchConfirmer confirmer;
        QCOMPARE(RunSearch(firmware.image, "WARNING", confirmer).answer, Answer::Ok);
        QCOMPARE(driver.runs, 1);
        QVERIFY(firmware.image.IsModified());
        QVERIFY(firmware.image.Save(false));

        std::string expected = original;
        const std::string patched = FitToLength(
            "Jane Doe\nCaf\xE9 \x80"
            "5",
            kMessage.size());
        expected.replace(at, kMessage.size(), patched);
        QCOMPARE(ReadWholeFile(firmware.path), expected);
    }
}

namespace {

// Message boxes and questions of the main dialog, answered without showing anything.
class SilentUi : public UiServices {
public:
    void ShowMessage(QWidget*, std::string_view title, std::string_view, MessageIcon) override {
        messages.emplace_back(title);
    }
    bool AskYesNo(QWidget*, std::string_view, std::string_view) override { return false; }
    std::optional<QString> GetOpenFileName(QWidget*, const QString&, const std::vector<FileFilter>&,
                                           const QString&) override {
        return std::nullopt;
    }
    std::vector<std::string> messages;
};

}  // namespace

void PatchConfirmerTest::searchFindNextTypeAndOkFromTheMainDialog() {
    // Two messages: the first is skipped with Find Next, the second edited key by key.
    const std::string first = "WARNING one";
    const std::string second = "WARNING two!";  // 12 bytes
    std::string original = FirmwareBytes(first, true);
    original += std::string(1, '\0') + second + std::string(1, '\0');
    LoadedFirmware firmware(original);
    QVERIFY(firmware.loaded);

    SilentUi ui;
    DialogPatchConfirmer confirmer;
    const std::string programPath = firmware.dir.filePath(QStringLiteral("tavlo")).toStdString();
    MainDialog mainDialog(programPath, ui, confirmer);
    mainDialog.SetImage(&firmware.image);
    mainDialog.show();
    mainDialog.findChild<QLineEdit*>(QStringLiteral("control1000"))
        ->setText(QString::fromStdString(firmware.path));
    mainDialog.findChild<QComboBox*>(QStringLiteral("control1005"))
        ->setEditText(QStringLiteral("WARNING"));

    QStringList found;
    const auto skip = [&](PatchDialog& dialog) {
        found << FoundText(dialog);
        Press(dialog, "findNext");
    };
    const auto edit = [&](PatchDialog& dialog) {
        found << FoundText(dialog);
        QPlainTextEdit* box = NewEdit(dialog);
        TypeOver(dialog, QStringLiteral("Jane Doe 12"));  // 11 of 12 bytes
        const QRect preview = dialog.PreviewArea();
        QImage before = dialog.grab().toImage().copy(preview);
        const struct {
            Qt::Key key;
            const char* counter;
            bool red;
        } keys[] = {{Qt::Key_3, "Current size: 12 / characters left: 0", false},
                    {Qt::Key_4, "Current size: 13 / characters left: -1", true},
                    {Qt::Key_Backspace, "Current size: 12 / characters left: 0", false}};
        for (const auto& key : keys) {
            QTest::keyClick(box, key.key);
            auto* counter = dialog.findChild<QLabel*>(QStringLiteral("counter"));
            QCOMPARE(counter->text(), QString::fromLatin1(key.counter));
            QCOMPARE(counter->palette().color(QPalette::WindowText),
                     key.red ? QColor(255, 0, 0) : QColor(0, 0, 0));
            const QImage after = dialog.grab().toImage().copy(preview);
            QVERIFY(after != before);
            before = after;
        }
        Press(dialog, "ok");
    };
    ModalDriver driver({skip, edit});
    QTest::mouseClick(mainDialog.findChild<QPushButton*>(QStringLiteral("control1003")),
                      Qt::LeftButton);
    QCOMPARE(driver.runs, 2);
    QCOMPARE(found, QStringList({QStringLiteral("WARNING one"), QStringLiteral("WARNING two!")}));
    QVERIFY(ui.messages.empty());
    QVERIFY(firmware.image.IsModified());

    std::string expected = original;
    expected.replace(expected.find(second), second.size(), "Jane Doe 123");
    QCOMPARE(
        std::string(reinterpret_cast<const char*>(firmware.image.Data()), firmware.image.Length()),
        expected);
}

TAVLO_REGISTER_TEST(PatchConfirmerTest);

}  // namespace tavlo::test
