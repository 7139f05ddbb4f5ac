// Runs the main dialog's test classes under one QApplication.
#include <QApplication>
#include <QTest>
#include <cstring>

#include "support/qt/test_registry.h"

namespace tavlo::test {

std::vector<RegisteredTest>& RegisteredTests() {
    static std::vector<RegisteredTest> tests;
    return tests;
}

}  // namespace tavlo::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    // The class name is ours; the remaining arguments go to QtTest.
    std::vector<char*> qtArgs{argv[0]};
    for (int i = only ? 2 : 1; i < argc; ++i) {
        qtArgs.push_back(argv[i]);
    }
    int failures = 0;
    bool ran = false;
    for (const auto& test : tavlo::test::RegisteredTests()) {
        if (only && test.name != only) {
            continue;
        }
        ran = true;
        const std::unique_ptr<QObject> object = test.make();
        failures += QTest::qExec(object.get(), static_cast<int>(qtArgs.size()), qtArgs.data());
    }
    if (!ran) {
        std::fprintf(stderr, "no test class named %s\n", only ? only : "(any)");
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
