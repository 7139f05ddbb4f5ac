// One keystroke in the patch dialog, with everything it brings about painted (the edit box, the
// counter and the preview), against one keystroke in a bare dialog with a single edit box, in
// the same run. Prints microseconds per keystroke and their ratio; the fastest of several rounds
// counts, as other programs' load only ever adds to a round.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "qt/patch_dialog.h"
#include "support/qt/test_firmware.h"
#include "workflow/patch_step.h"

namespace {

constexpr int kKeysPerRound = 400;
constexpr int kRounds = 15;

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
    const std::string proposed = tavlo::ProposedOwnerText("Patch");

    tavlo::PatchDialog patch;
    patch.SetRequest(
        {std::string(kMessage),
         "String to be replaced is " + std::to_string(kMessage.size()) + " bytes long:\n", proposed,
         &firmware.font});
    patch.show();
    auto* patchEdit = patch.findChild<QPlainTextEdit*>(QStringLiteral("newText"));
    // Typing into the first line changes what the preview shows with every key.
    patchEdit->moveCursor(QTextCursor::Start);

    QDialog bare;
    auto* bareEdit = new QPlainTextEdit(&bare);
    bareEdit->setGeometry(patchEdit->geometry());
    bare.resize(patch.size());
    bareEdit->setPlainText(QString::fromLatin1(proposed.data(), proposed.size()));
    bare.show();
    bareEdit->moveCursor(QTextCursor::Start);
    QCoreApplication::processEvents();

    PaintCounter counterPaints(patch.findChild<QWidget*>(QStringLiteral("counter")));
    PaintCounter previewPaints(&patch, [&patch] { return patch.PreviewArea(); });

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
    std::printf("ratio patch / bare: %.2f (medians %.2f; target at most 3)\n",
                Fastest(patchTimes) / Fastest(bareTimes), Median(patchTimes) / Median(bareTimes));
    return 0;
}
