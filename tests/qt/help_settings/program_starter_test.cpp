// Starting the browser and the editor for real: the error numbers of failed starts, a start that
// does not wait, and the choice of program from the environment.
#include <QElapsedTimer>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "qt/program_starter.h"
#include "support/qt/test_registry.h"
#include "support/qt/workspace.h"
#include "support/test_files.h"

namespace tavlo::test {

class ProgramStarterTest : public QObject {
    Q_OBJECT

private slots:
    void missingProgram() {
        DetachedProgramStarter starter;
        QCOMPARE(starter.Start(QStringLiteral("tavlo-no-such-program-here"), {}), ENOENT);
        QCOMPARE(starter.Start(QStringLiteral("/no/such/folder/program"), {}), ENOENT);
    }

    void programThatMayNotRun() {
        Workspace work;
        QVERIFY(work.Write("not-executable", "#!/bin/sh\n"));
        DetachedProgramStarter starter;
        // Root may read any file but runs only what has an execute bit.
        QCOMPARE(starter.Start(QString::fromStdString(work.File("not-executable")), {}), EACCES);
    }

    void fileThatIsNoProgram() {
        Workspace work;
        QVERIFY(work.Write("garbage", "\x01\x02\x03 not a program\n"));
        std::filesystem::permissions(work.File("garbage"), std::filesystem::perms::owner_all);
        DetachedProgramStarter starter;
        QCOMPARE(starter.Start(QString::fromStdString(work.File("garbage")), {}), ENOEXEC);
    }

    // The program gets its arguments and runs on after Start has returned.
    void startsWithoutWaiting() {
        Workspace work;
        DetachedProgramStarter starter;
        QElapsedTimer clock;
        clock.start();
        const int result = starter.Start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("sleep 1; printf '%s' \"$1\" > \"$2\""),
             QStringLiteral("sh"), QStringLiteral("argument with spaces"),
             QString::fromStdString(work.File("out"))});
        QCOMPARE(result, 0);
        QVERIFY2(clock.elapsed() < 900, "Start waited for the program");
        QVERIFY(!work.Read("out"));
        QTRY_VERIFY_WITH_TIMEOUT(
            work.Read("out") == std::optional<std::string>("argument with spaces"), 10000);
    }

    void errorNumbersOfFailureTexts() {
        QCOMPARE(ErrorNumberOfStartFailure(QStringLiteral("execv: No such file or directory")),
                 ENOENT);
        QCOMPARE(ErrorNumberOfStartFailure(QStringLiteral("execv: Permission denied")), EACCES);
        QCOMPARE(ErrorNumberOfStartFailure(QStringLiteral("chdir: Not a directory")), ENOTDIR);
        QCOMPARE(ErrorNumberOfStartFailure(QStringLiteral("fork: ") +
                                           QString::fromLocal8Bit(std::strerror(EAGAIN))),
                 EAGAIN);
        QCOMPARE(ErrorNumberOfStartFailure(QStringLiteral("Something else went wrong")), -1);
        QCOMPARE(ErrorNumberOfStartFailure(QString()), -1);
    }

    void programsChosenFromTheEnvironment() {
        {
            ScopedEnv browser("BROWSER", nullptr);
            ScopedEnv visual("VISUAL", nullptr);
            const StartCommand web = BrowserCommand(QStringLiteral("file:///x/index.htm"));
            QCOMPARE(web.program, QStringLiteral("xdg-open"));
            QCOMPARE(web.arguments, QStringList{QStringLiteral("file:///x/index.htm")});
            QCOMPARE(web.shownName, QStringLiteral("xdg-open"));
            const StartCommand editor = EditorCommand(std::nullopt);
            QCOMPARE(editor.program, QStringLiteral("xdg-open"));
            QVERIFY(editor.arguments.isEmpty());
        }
        {
            ScopedEnv browser("BROWSER", "  ");  // no word at all: as if unset
            QCOMPARE(BrowserCommand(QStringLiteral("a")).program, QStringLiteral("xdg-open"));
        }
        {
            ScopedEnv visual("VISUAL", "\"/opt/my editor/edit\" -n");
            const StartCommand editor = EditorCommand(QStringLiteral("/x/tavlo.cfg"));
            QCOMPARE(editor.program, QStringLiteral("/opt/my editor/edit"));
            QCOMPARE(editor.arguments,
                     (QStringList{QStringLiteral("-n"), QStringLiteral("/x/tavlo.cfg")}));
            QCOMPARE(editor.shownName, QStringLiteral("/opt/my editor/edit"));
        }
    }
};

TAVLO_REGISTER_TEST(ProgramStarterTest);

}  // namespace tavlo::test

#include "program_starter_test.moc"
