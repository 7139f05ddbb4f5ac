// The programs Linux starts for View help and Edit settings, for real: the error numbers of
// failed starts, a start that does not wait, the choice of program from the environment, the
// browsers tried in turn, and the help's folder.
#include <QElapsedTimer>
#include <QTest>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "qt/linux/desktop_programs.h"
#include "support/qt/test_registry.h"
#include "support/test_files.h"

namespace tavlo::test {

namespace {

int Start(const QString& program, const QStringList& arguments = {}) {
    return StartProgram({program, arguments, program});
}

// A file of the folder made a program, with `script` as its text.
void MakeProgram(const TempDir& dir, const char* name, const std::string& script) {
    WriteFile(dir.File(name), script);
    std::filesystem::permissions(PathOf(dir.File(name)), std::filesystem::perms::owner_all);
}

}  // namespace

class LinuxProgramsTest : public QObject {
    Q_OBJECT

private slots:
    // What a start that fails says: no such program, one that may not run, a file that is no
    // program (root may read any file, but runs only what has an execute bit).
    void failedStartsGiveTheSystemsErrorNumber() {
        TempDir dir;
        WriteFile(dir.File("not-executable"), "#!/bin/sh\n");
        MakeProgram(dir, "garbage", "\x01\x02\x03 not a program\n");
        QCOMPARE(Start(QStringLiteral("tavlo-no-such-program-here")), ENOENT);
        QCOMPARE(Start(QStringLiteral("/no/such/folder/program")), ENOENT);
        QCOMPARE(Start(QString::fromStdString(dir.File("not-executable"))), EACCES);
        QCOMPARE(Start(QString::fromStdString(dir.File("garbage"))), ENOEXEC);
    }

    // The program gets its arguments and runs on after the start has returned: it is watched
    // for a second at most.
    void startsWithoutWaiting() {
        TempDir work;
        QElapsedTimer clock;
        clock.start();
        const int result =
            Start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("sleep 2; printf '%s' \"$1\" > \"$2\""),
                   QStringLiteral("sh"), QStringLiteral("argument with spaces"),
                   QString::fromStdString(work.File("out"))});
        QCOMPARE(result, 0);
        QVERIFY2(clock.elapsed() < 1900, "Start waited for the program");
        QVERIFY(!FileExists(work.File("out")));
        QTRY_VERIFY_WITH_TIMEOUT(
            FileExists(work.File("out")) && ReadFile(work.File("out")) == "argument with spaces",
            10000);
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
            QCOMPARE(Start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), row.script}),
                     row.expected);
        }
    }

    void programsChosenFromTheEnvironment() {
        TempDir work;  // PATH: a folder that holds a terminal emulator, or none
        MakeProgram(work, "x-terminal-emulator", "#!/bin/sh\n");
        const std::string withTerminal = work.Path().string();
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

    // The browsers are tried in turn until one starts; a failure names the last one tried.
    void theBrowsersAreTriedInTurn() {
        TempDir dir;
        MakeProgram(dir, "fails", "#!/bin/sh\nexit 4\n");
        MakeProgram(dir, "notes", "#!/bin/sh\nprintf '%s' \"$1\" > '" + dir.File("noted") + "'\n");
        const std::string fails = dir.File("fails");
        const std::string notes = dir.File("notes");
        LinuxDesktopPrograms programs;
        {
            ScopedEnv browser("BROWSER", ("gone:" + fails + ":" + notes).c_str());
            const LaunchResult started = programs.OpenInBrowser("file:///x/index.htm");
            QCOMPARE(started.error, 0);
            QTRY_VERIFY(FileExists(dir.File("noted")));
            QCOMPARE(ReadFile(dir.File("noted")), std::string("file:///x/index.htm"));
        }
        ScopedEnv browser("BROWSER", ("gone:" + fails).c_str());
        const LaunchResult failed = programs.OpenInBrowser("file:///x/index.htm");
        QCOMPARE(failed.error, 4);
        QCOMPARE(failed.program, fails);
        // The address of a file is a real file:// URL.
        QCOMPARE(programs.AddressOf("/my data \xC3\xA9/index.htm"),
                 std::string("file:///my%20data%20%C3%A9/index.htm"));
    }

    // The help goes to $XDG_DATA_HOME/tavlo/help; without it, or with a relative one, below the
    // home folder.
    void theHelpFolderFollowsTheDataFolder() {
        struct Row {
            const char* dataHome;  // nullptr: unset
            std::string folder;
        };
        for (const Row& row : {Row{"/data/home", "/data/home/tavlo/help"},
                               Row{nullptr, "/home/u/.local/share/tavlo/help"},
                               Row{"relative/data", "/home/u/.local/share/tavlo/help"}}) {
            ScopedEnv home("HOME", "/home/u");
            ScopedEnv dataHome("XDG_DATA_HOME", row.dataHome);
            QCOMPARE(LinuxDesktopPrograms().HelpFolder(), row.folder);
        }
    }
};

TAVLO_REGISTER_TEST(LinuxProgramsTest);

}  // namespace tavlo::test

#include "linux_programs_test.moc"
