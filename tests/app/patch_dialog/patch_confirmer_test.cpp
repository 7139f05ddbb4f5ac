#include "patch_confirmer_test.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "core/patch_step.h"
#include "modal_driver.h"
#include "preview/patch_confirmer.h"
#include "test_firmware.h"
#include "typing.h"

namespace tavlo::test {

namespace {

const std::string kMessage = "WARNING: read the manual";  // 24 bytes

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
        QCOMPARE(dialog.currentText, std::string("WARNING\nline"));
        QCOMPARE(dialog.infoText, std::string("String to be replaced is 12 bytes long:\n"));
        QCOMPARE(dialog.font, nullptr);
        TypeOver(dialog, QStringLiteral("Jane"));
        QTest::keyClick(NewEdit(dialog), Qt::Key_Return);
        QTest::keyClicks(NewEdit(dialog), QStringLiteral("Doe"));
        Press(dialog, "ok");
    });
    DialogPatchConfirmer confirmer;
    QCOMPARE(confirmer.Confirm(request), static_cast<int>(ConfirmOk));
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
        const int expected = std::string(button) == "cancel" ? ConfirmCancel : ConfirmFindNext;
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
        firmware.image.ResetSearch();
        QVERIFY(firmware.image.LocateMessage("WARNING"));
        ModalDriver driver([](PatchDialog& dialog) {
            QVERIFY(dialog.font != nullptr);  // the image carries a receiver font
            QCOMPARE(dialog.newText.size(), kMessage.size());
            TypeOver(dialog, QStringLiteral("Jane Doe"));
            Press(dialog, "cancel");
        });
        DialogPatchConfirmer confirmer;
        QCOMPARE(firmware.image.PatchMessage("Patch", confirmer), static_cast<int>(PatchCancelled));
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
        firmware.image.ResetSearch();
        QVERIFY(firmware.image.LocateMessage("WARNING"));
        ModalDriver driver([](PatchDialog& dialog) {
            TypeOver(dialog, QStringLiteral("Jane Doe"));
            QTest::keyClick(NewEdit(dialog), Qt::Key_Return);
            Type(NewEdit(dialog), QStringLiteral("Caf\u00E9 \u20AC5"));
            Press(dialog, "ok");
        });
        DialogPatchConfirmer confirmer;
        QCOMPARE(firmware.image.PatchMessage("Patch", confirmer), static_cast<int>(PatchApplied));
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

}  // namespace tavlo::test
