// Starting the browser and the editor for real: the error numbers of failed starts, a start that
// does not wait, and the choice of program from the environment.
#include <QElapsedTimer>
#include <QTest>
#include <cerrno>
#include <filesystem>
#include <vector>

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

    // The program gets its arguments and runs on after Start has returned: Start watches it for
    // a second at most.
    void startsWithoutWaiting() {
        Workspace work;
        DetachedProgramStarter starter;
        QElapsedTimer clock;
        clock.start();
        const int result = starter.Start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("sleep 2; printf '%s' \"$1\" > \"$2\""),
             QStringLiteral("sh"), QStringLiteral("argument with spaces"),
             QString::fromStdString(work.File("out"))});
        QCOMPARE(result, 0);
        QVERIFY2(clock.elapsed() < 1900, "Start waited for the program");
        QVERIFY(!work.Read("out"));
        QTRY_VERIFY_WITH_TIMEOUT(
            work.Read("out") == std::optional<std::string>("argument with spaces"), 10000);
    }

    // A program that ends with a failure within a second never got going (a terminal editor
    // without a terminal): its status is the start's failure. One that outlives the watch, or
    // ends well, was started.
    void failuresWithinTheWatch() {
        struct Row {
            const char* script;
            int expected;
        };
        for (const Row& row : {Row{"exit 3", 3}, Row{"exit 0", 0}, Row{"kill -KILL $$", 128 + 9},
                               Row{"sleep 2; exit 3", 0}}) {
            QCOMPARE(DetachedProgramStarter().Start(QStringLiteral("/bin/sh"),
                                                    {QStringLiteral("-c"), row.script}),
                     row.expected);
        }
    }

    void programsChosenFromTheEnvironment() {
        Workspace work;  // PATH: a folder that holds a terminal emulator, or none
        QVERIFY(work.Write("x-terminal-emulator", "#!/bin/sh\n"));
        std::filesystem::permissions(work.File("x-terminal-emulator"),
                                     std::filesystem::perms::owner_all);
        const std::string withTerminal = work.Folder().string();
        const std::string withoutTerminal = work.File("none");
        const QString file = QStringLiteral("/x/tavlo.cfg");
        struct Row {
            const char* visual;  // nullptr: unset
            const std::string& path;
            QStringList expected;  // program and arguments
            QString shownName;
        };
        for (const Row& row : {
                 Row{nullptr, withTerminal, {"xdg-open", file}, "xdg-open"},
                 Row{"\"/opt/my editor/edit\" -n",
                     withTerminal,
                     {"/opt/my editor/edit", "-n", file},
                     "/opt/my editor/edit"},
                 Row{"emacs", withTerminal, {"emacs", file}, "emacs"},
                 Row{"vi", withTerminal, {"x-terminal-emulator", "-e", "vi", file}, "vi"},
                 Row{"/usr/bin/vim -p",
                     withTerminal,
                     {"x-terminal-emulator", "-e", "/usr/bin/vim", "-p", file},
                     "/usr/bin/vim"},
                 Row{"emacs -nw",
                     withTerminal,
                     {"x-terminal-emulator", "-e", "emacs", "-nw", file},
                     "emacs"},
                 Row{"nano", withoutTerminal, {"xdg-open", file}, "xdg-open"},
             }) {
            ScopedEnv visual("VISUAL", row.visual);
            ScopedEnv path("PATH", row.path.c_str());
            const StartCommand editor = EditorCommand(file);
            QCOMPARE(QStringList{editor.program} + editor.arguments, row.expected);
            QCOMPARE(editor.shownName, row.shownName);
        }
    }

    // $BROWSER: commands separated by ":", tried in turn; "%s" is the address, "%%" a "%".
    void browsersChosenFromTheEnvironment() {
        const QString address = QStringLiteral("file:///x/index.htm");
        struct Row {
            const char* browser;  // nullptr: unset
            std::vector<QStringList> expected;
        };
        for (const Row& row : {
                 Row{nullptr, {{"xdg-open", address}}},
                 Row{"  ", {{"xdg-open", address}}},
                 Row{"first --new:second %s --x:third 100%%-%s",
                     {{"first", "--new", address},
                      {"second", address, "--x"},
                      {"third", "100%-" + address}}},
             }) {
            ScopedEnv browser("BROWSER", row.browser);
            std::vector<QStringList> commands;
            for (const StartCommand& command : BrowserCommands(address)) {
                commands.push_back(QStringList{command.program} + command.arguments);
            }
            QCOMPARE(commands, row.expected);
        }
    }
};

TAVLO_REGISTER_TEST(ProgramStarterTest);

}  // namespace tavlo::test

#include "program_starter_test.moc"
