// Start-up of the desktop program, from the process start to its main dialog shown and painted
// (Qt brought up, settings read, the file pattern matched, the version read, the widgets built
// from the template), against the start-up of a bare Qt dialog with one edit box, in the same
// run. Both start as fresh processes of this program (so both load the same libraries); the
// parent times each from its launch to the child's word that its window is painted. Prints
// milliseconds per start-up and their ratio; the fastest of several starts counts, as other
// programs' load only ever adds to a start.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "core/firmware_image.h"
#include "qt/linux/desktop_programs.h"
#include "qt/main_dialog.h"
#include "qt/qt_desktop_services.h"

namespace {

constexpr int kStarts = 15;
constexpr double kAllowedRatio = 1.5;
constexpr const char* kShown = "shown";

// Shows the dialog, waits until it is on the screen and painted, and says so on standard output.
int ShowAndReport(QDialog& dialog) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        return 1;
    }
    QCoreApplication::processEvents();  // the first paint
    std::printf("%s\n", kShown);
    std::fflush(stdout);
    return 0;
}

// The desktop program's start-up as RunMainDialog does it, up to the main dialog on the screen.
int RunMainChild(int argc, char** argv) {
    QApplication app(argc, argv);
    tavlo::QtDesktopServices desktop;
    tavlo::LinuxDesktopPrograms programs;
    tavlo::FirmwareImage image;
    tavlo::MainDialog dialog((std::filesystem::current_path() / "tavlo").string(), image, desktop,
                             programs);
    return ShowAndReport(dialog);
}

int RunBareChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    edit->setGeometry(10, 10, 200, 24);
    dialog.resize(320, 120);
    return ShowAndReport(dialog);
}

// Milliseconds from launching `program child` to its report that the window is painted.
double TimeStart(const QString& program, const char* child) {
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, {QStringLiteral("--child"), QString::fromLatin1(child)});
    while (process.waitForReadyRead(10000)) {
        if (process.readAllStandardOutput().contains(kShown)) {
            const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            process.waitForFinished();
            return ms;
        }
    }
    std::fprintf(stderr, "the %s child did not show its window\n", child);
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        return std::strcmp(argv[2], "main") == 0 ? RunMainChild(1, argv) : RunBareChild(1, argv);
    }

    // The program as the README starts it: beside no settings file, in a folder with firmware.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tavlo-startup-bench";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 20; ++i) {
        std::FILE* file = std::fopen((folder / ("unit" + std::to_string(i) + ".rgn")).c_str(), "w");
        if (file) {
            std::fclose(file);
        }
    }
    std::filesystem::current_path(folder);
    const QString self = QString::fromStdString(std::filesystem::canonical("/proc/self/exe"));

    // The first start of each warms the disk cache; it is not counted.
    TimeStart(self, "bare");
    TimeStart(self, "main");
    double mainMs = 1e9;
    double bareMs = 1e9;
    for (int i = 0; i < kStarts; ++i) {
        bareMs = std::min(bareMs, TimeStart(self, "bare"));
        mainMs = std::min(mainMs, TimeStart(self, "main"));
    }
    const double ratio = mainMs / bareMs;
    std::printf("main dialog start-up:  %.1f ms\n", mainMs);
    std::printf("bare dialog start-up:  %.1f ms\n", bareMs);
    std::printf("ratio: %.2f (allowed %.1f) %s\n", ratio, kAllowedRatio,
                ratio <= kAllowedRatio ? "OK" : "TOO SLOW");
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
    return ratio <= kAllowedRatio ? 0 : 1;
}
