// The patch dialog's two costs a user feels, each against a yardstick measured in the same run:
// - one keystroke, with everything it brings about painted (the edit box, the counter and the
//   preview), against one keystroke in a bare dialog with a single edit box;
// - opening the dialog at a match, from the image to the dialog on the screen, for a message of
//   20 MB without a zero byte against one of 150 bytes.
// Prints microseconds per keystroke, milliseconds per opening and their ratios; the fastest of
// several rounds counts, as other programs' load only ever adds to a round.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "qt/patch_dialog.h"
#include "settings/settings_file.h"
#include "support/qt/test_firmware.h"
#include "workflow/patch_dialog_flow.h"

namespace {

constexpr int kKeysPerRound = 400;
constexpr int kRounds = 15;
constexpr int kOpenings = 5;

const std::string kMessage =
    "WARNING\nThis receiver is a navigation aid only.\nDo not rely on it as your only source "
    "of position.\nPress ENTER to continue.";

// Counts the paints of a widget that reach `area` (all of them without one), to show that each
// keystroke was drawn in full.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget, std::function<QRect()> area = {}) : area_(area) {
        widget->installEventFilter(this);
    }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            (!area_ || static_cast<QPaintEvent*>(event)->region().intersects(area_()))) {
            ++paints;
        }
        return false;
    }

private:
    std::function<QRect()> area_;
};

// Types a character and takes it back, kKeysPerRound keystrokes in all, painting after each
// one whatever it changed. Returns microseconds per keystroke.
double TimeKeystrokes(QPlainTextEdit* edit) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kKeysPerRound; ++i) {
        QTest::keyClick(edit, (i % 2 == 0) ? Qt::Key_X : Qt::Key_Backspace);
        // Delivers the pending update requests: every changed widget is painted now.
        QCoreApplication::processEvents();
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / kKeysPerRound;
}

// The fastest round shows the cost itself; slower rounds mostly show other programs' load.
double Fastest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The patch dialog over the first "WARNING" of `image` as the confirmer shows it, without its
// modal loop; `typed`, when given, is in the box in place of the proposal.
struct ShownDialog {
    ShownDialog(tavlo::FirmwareImage& image, const tavlo::DeviceFont* font,
                std::optional<std::string> typed = std::nullopt)
        : request(image.LocateMessage("WARNING")
                      ? tavlo::BuildPatchRequest(image, tavlo::Settings(), "Patch", font)
                      : tavlo::PatchRequest()) {
        if (typed) {
            request.newText = *typed;
        }
        dialog.SetFlow(flow);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            std::fprintf(stderr, "the patch dialog was not shown\n");
        }
        QCoreApplication::processEvents();  // the first paint
    }
    tavlo::PatchRequest request;
    tavlo::PatchDialog dialog;
    tavlo::PatchDialogFlow flow{request, dialog};
};

// Prints the cost of a keystroke in the patch dialog against one in a bare dialog. The box holds
// the owner lines, shorter than the message: each key changes the preview's first line.
void MeasureKeystrokes(tavlo::test::LoadedFirmware& firmware) {
    ShownDialog patch(firmware.image, &firmware.font,
                      tavlo::ProposedOwnerText(tavlo::Settings(), "Patch"));
    auto* patchEdit = patch.dialog.findChild<QPlainTextEdit*>(QStringLiteral("newText"));
    // Typing into the first line changes what the preview shows with every key.
    patchEdit->moveCursor(QTextCursor::Start);

    QDialog bare;
    auto* bareEdit = new QPlainTextEdit(&bare);
    bareEdit->setGeometry(patchEdit->geometry());
    bare.resize(patch.dialog.size());
    bareEdit->setPlainText(QString::fromLatin1(patch.request.newText));
    bare.show();
    bareEdit->moveCursor(QTextCursor::Start);
    QCoreApplication::processEvents();

    PaintCounter counterPaints(patch.dialog.findChild<QWidget*>(QStringLiteral("counter")));
    PaintCounter previewPaints(&patch.dialog, [&patch] { return patch.dialog.PreviewArea(); });
    TimeKeystrokes(bareEdit);  // warm-up
    TimeKeystrokes(patchEdit);
    counterPaints.paints = previewPaints.paints = 0;

    std::vector<double> bareTimes;
    std::vector<double> patchTimes;
    for (int round = 0; round < kRounds; ++round) {
        bareTimes.push_back(TimeKeystrokes(bareEdit));
        patchTimes.push_back(TimeKeystrokes(patchEdit));
    }
    const int keys = kRounds * kKeysPerRound;
    std::printf("%d rounds of %d keystrokes, each dialog in turn\n", kRounds, kKeysPerRound);
    std::printf("bare dialog, one edit box:     %7.1f us per keystroke (median %7.1f)\n",
                Fastest(bareTimes), Median(bareTimes));
    std::printf("patch dialog, counter+preview: %7.1f us per keystroke (median %7.1f)\n",
                Fastest(patchTimes), Median(patchTimes));
    std::printf("  counter paints per keystroke: %.2f, preview paints per keystroke: %.2f\n",
                static_cast<double>(counterPaints.paints) / keys,
                static_cast<double>(previewPaints.paints) / keys);
    std::printf("ratio patch / bare: %.2f (medians %.2f; target at most 2)\n",
                Fastest(patchTimes) / Fastest(bareTimes), Median(patchTimes) / Median(bareTimes));
}

// Milliseconds from the match in an image holding `bytes` to the patch dialog shown.
double TimeOpening(const std::string& bytes) {
    tavlo::test::LoadedFirmware firmware(bytes);
    QElapsedTimer timer;
    timer.start();
    ShownDialog shown(firmware.image, firmware.fontFound ? &firmware.font : nullptr);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Prints the cost of opening the dialog for a huge message against a short one.
void MeasureOpening() {
    const std::string shortFirmware = tavlo::test::FirmwareBytes(kMessage, true);
    const std::string hugeFirmware = "WARNING " + std::string(20 << 20, 'A');
    std::vector<double> shortTimes;
    std::vector<double> hugeTimes;
    for (int i = 0; i < kOpenings; ++i) {
        shortTimes.push_back(TimeOpening(shortFirmware));
        hugeTimes.push_back(TimeOpening(hugeFirmware));
    }
    std::printf("opening, %zu-byte message:      %7.1f ms\n", kMessage.size(), Fastest(shortTimes));
    std::printf("opening, 20 MiB without a zero: %7.1f ms\n", Fastest(hugeTimes));
    std::printf("ratio huge / short: %.2f (the whole opening must stay well under a second)\n",
                Fastest(hugeTimes) / Fastest(shortTimes));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    tavlo::test::LoadedFirmware firmware(
        tavlo::test::FirmwareBytes(kMessage, true, tavlo::test::RasterGlyph));
    if (!firmware.fontFound) {
        std::fprintf(stderr, "could not build the sample firmware\n");
        return 1;
    }
    MeasureKeystrokes(firmware);
    MeasureOpening();
    return 0;
}
