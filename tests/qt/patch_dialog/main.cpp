#include <QApplication>
#include <QTest>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "patch_confirmer_test.h"
#include "patch_dialog_test.h"
#include "text_boundary_test.h"

// Runs the test class named by the first argument, or every one; the exit status counts the
// failures. Further arguments go to QtTest.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    std::vector<char*> qtArgs{argv[0]};
    for (int i = only ? 2 : 1; i < argc; ++i) {
        qtArgs.push_back(argv[i]);
    }
    const std::vector<std::unique_ptr<QObject>> tests = [] {
        std::vector<std::unique_ptr<QObject>> all;
        all.push_back(std::make_unique<tavlo::test::TextBoundaryTest>());
        all.push_back(std::make_unique<tavlo::test::PatchDialogTest>());
        all.push_back(std::make_unique<tavlo::test::PatchConfirmerTest>());
        return all;
    }();
    int failures = 0;
    bool ran = false;
    for (const auto& test : tests) {
        if (only && std::strcmp(test->metaObject()->className(), only) != 0 &&
            std::strcmp(test->metaObject()->className(),
                        (std::string("tavlo::test::") + only).c_str()) != 0) {
            continue;
        }
        ran = true;
        failures += QTest::qExec(test.get(), static_cast<int>(qtArgs.size()), qtArgs.data());
    }
    return ran ? failures : 2;
}
