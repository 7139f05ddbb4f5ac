#include <QApplication>
#include <QTest>

#include "patch_confirmer_test.h"
#include "patch_dialog_test.h"
#include "text_boundary_test.h"

// Runs every test class; the exit status counts the failures of all of them.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    {
        tavlo::test::TextBoundaryTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        tavlo::test::PatchDialogTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        tavlo::test::PatchConfirmerTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures;
}
