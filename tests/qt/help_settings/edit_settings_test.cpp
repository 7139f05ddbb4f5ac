// The Edit settings command through the real main dialog: the question when there is no
// settings file, the default file it writes, the editor it starts (recorded, or really started),
// the box that waits for the user and the settings read again afterwards.
#include <sys/stat.h>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/embedded_resources.h"
#include "core/text_file.h"
#include "dialog_session.h"
#include "qt/qt_ui_services.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "support/qt/modal_helper.h"
#include "support/qt/test_registry.h"

namespace tavlo::test {

namespace {

using namespace std::string_literals;

const std::string kCreateTitle = "Tavlo : Create default settings file ?";
const std::string kCreateFailedTitle = "Tavlo : Could not create default settings file";
const std::string kHoldTitle =
    "Tavlo";  // the program file's name, capitalised: the box has no title of its own
const std::string kHoldText =
    "Press OK when you are finished editing and have saved the config file";

std::string CreateQuestion(const std::string& editor) {
    return "The default settings file (tavlo.cfg) was not found.\n\nShould Tavlo create one for "
           "you ?\nSelect YES to create the file and edit it with " +
           editor + ",\nSelect NO to cancel this action.";
}

std::string LaunchFailure(const std::string& editor, int error, const std::string& path) {
    return "Tavlo could not launch " + editor + " to edit the configuration\nfile. (An error #" +
           std::to_string(error) +
           " was returned)\n\nIf you have another editor, use it to open the following file:\n\n" +
           path + "\n";
}

std::string DefaultSettingsBytes() {
    const auto resource = FindResource("tavlo.cfg", "RT_TAVLO");
    return resource ? std::string(reinterpret_cast<const char*>(resource->data()), resource->size())
                    : std::string();
}

bool Exists(const std::string& path) {
    return QFileInfo::exists(QString::fromStdString(path));
}

struct Entry {
    std::string section, key, value;
    std::int32_t line;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> StoredEntries() {
    std::vector<Entry> entries;
    for (const SettingsEntry& e : SettingsFile::Instance().Entries()) {
        entries.push_back({*e.section, e.key, e.value, e.line});
    }
    return entries;
}

}  // namespace

class EditSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void existingFileIsOpenedAndReadAgainAfterOk() {
        DialogSession s;
        QVERIFY(
            s.work.WriteSettings("[Image]\nFilename = old.rgn\n[Patch]\n"
                                 "SearchString = 'ATTENTION'\n"));
        s.Open();
        QCOMPARE(s.SearchField(), QStringLiteral("ATTENTION"));
        s.Type(QStringLiteral("typed.rgn"), QStringLiteral("typed"));
        QString fieldWhileHeld;
        s.ui.onMessage = [&](const ScriptedUi::Message&) {
            fieldWhileHeld = s.FileField();
            // The user edits and saves the file while the box waits.
            s.work.WriteSettings(
                "[Image]\nFilename = new.rgn\n[Patch]\nSearchString = 'WARNUNG'\n");
        };
        s.Click(kIdEditSettings);

        const std::string path = s.work.File("tavlo.cfg");
        QCOMPARE(s.log, (CommandLog{"start xdg-open " + path, "show " + kHoldTitle}));
        QCOMPARE(s.ui.messages[0].text, kHoldText);
        QCOMPARE(s.ui.messages[0].owner, &s.Dialog());
        QCOMPARE(fieldWhileHeld, QStringLiteral("typed.rgn"));  // nothing read before OK
        QCOMPARE(s.FileField(), QStringLiteral("new.rgn"));
        QCOMPARE(s.SearchField(), QStringLiteral("WARNUNG"));
        QCOMPARE(s.Dialog().SettingsPath(), std::optional(path));
        QCOMPARE(s.Dialog().findChild<QComboBox*>()->count(), 5);  // the list holds the words once
    }

    void noFileAnswerNoDoesNothingElse() {
        DialogSession s;
        s.Open();
        s.Type(QStringLiteral("typed.rgn"), QStringLiteral("typed"));
        s.ui.answers = {false};
        s.Click(kIdEditSettings);

        QCOMPARE(s.log, CommandLog{"ask " + kCreateTitle});
        QCOMPARE(s.ui.questions[0].text, CreateQuestion("xdg-open"));
        QCOMPARE(s.ui.questions[0].owner, &s.Dialog());
        QVERIFY(s.starter.started.empty());
        QVERIFY(!Exists(s.work.File("tavlo.cfg")));
        QVERIFY(std::filesystem::is_empty(s.work.Folder()));
        QCOMPARE(s.FileField(), QStringLiteral("typed.rgn"));
        QVERIFY(!s.Dialog().SettingsPath());
    }

    // A German user: the built-in search word is WARNUNG, the created file says WARNING.
    void noFileAnswerYesWritesTheDefaultAndOpensIt() {
        DialogSession s("de_DE.UTF-8");
        s.Open();
        QCOMPARE(s.SearchField(), QStringLiteral("WARNUNG"));
        const std::string path = s.work.File("tavlo.cfg");
        s.ui.answers = {true};
        std::optional<std::string> pathWhenStarted;
        QString searchWhenStarted;
        s.starter.onStart = [&] {
            pathWhenStarted = s.Dialog().SettingsPath();
            searchWhenStarted = s.SearchField();
        };
        s.Click(kIdEditSettings);

        QCOMPARE(s.log, (CommandLog{"ask " + kCreateTitle, "start xdg-open " + path,
                                    "show " + kHoldTitle}));
        const std::optional<std::string> written = Workspace::ReadFrom(path);
        QVERIFY(written.has_value());
        QCOMPARE(*written, DefaultSettingsBytes());
        QVERIFY(!DefaultSettingsBytes().empty());
        QVERIFY(!Exists(path + ".bak") && !Exists(s.work.File("tavlo.bak")));  // no backup
        // The file was read before the editor started, and again after OK.
        QCOMPARE(pathWhenStarted, std::optional(path));
        QCOMPARE(searchWhenStarted, QStringLiteral("WARNING"));
        QCOMPARE(s.SearchField(), QStringLiteral("WARNING"));
        QCOMPARE(s.FileField(), QStringLiteral("*.rgn"));

        // From now on the file is there: no question, the editor opens it.
        s.log.clear();
        s.Click(kIdEditSettings);
        QCOMPARE(s.log, (CommandLog{"start xdg-open " + path, "show " + kHoldTitle}));
        QCOMPARE(Workspace::ReadFrom(path), std::optional(DefaultSettingsBytes()));
    }

    void createdFileReadsBackAsTheDefaultTable() {
        DialogSession s;
        s.Open();
        s.ui.answers = {true};
        s.Click(kIdEditSettings);
        QVERIFY(s.Dialog().SettingsPath().has_value());

        const std::vector<Entry> expected = {
            {"Image", "Filename", "*.rgn", 22},
            {"Display", "MagX", "2", 25},
            {"Display", "MagY", "2", 26},
            {"Patch", "SearchString", "WARNING", 32},
            {"Patch", "L1", "Terry N. Owner", 39},
            {"Patch", "L2", "", 40},
            {"Patch", "L3", "(555) 31122000", 41},
            {"Patch", "L4", kExampleEmail, 42},
            {"Patch", "L5", "", 43},
            {"Patch", "L6", "Reward $$$", 44},
            {"Patch", "L7", "when returned!", 45},
        };
        QCOMPARE(StoredEntries(), expected);
        // Every value but the search word is the key's built-in default.
        for (const Entry& entry : expected) {
            if (entry.key != "SearchString") {
                const char* builtIn = BuiltInDefault(entry.section, entry.key);
                QVERIFY2(builtIn && entry.value == builtIn, entry.key.c_str());
            }
        }
    }

    // The settings path lies below a regular file, so no folder of that name can ever exist:
    // the write fails for every user, root included. The message says where and why, and no
    // editor is started without the file.
    void unwritableProgramFolder() {
        DialogSession s;
        QVERIFY(s.work.Write("plain", "a file, not a folder"));
        const std::string program = s.work.File("plain") + "/tavlo";
        s.Open(program);
        s.ui.answers = {true};
        s.Click(kIdEditSettings);

        QCOMPARE(s.log, (CommandLog{"ask " + kCreateTitle, "show " + kCreateFailedTitle}));
        const std::string& text = s.ui.messages[0].text;
        QVERIFY2(text.find(program + ".cfg") != std::string::npos, text.c_str());
        QVERIFY2(text.find(std::strerror(ENOTDIR)) != std::string::npos, text.c_str());
        QCOMPARE(s.ui.messages[0].owner, &s.Dialog());
        QVERIFY(!s.Dialog().SettingsPath());
        QCOMPARE(s.FileField(), QStringLiteral("*.rgn"));
        QCOMPARE(Workspace::ReadFrom(s.work.File("plain")), std::optional("a file, not a folder"s));
    }

    // Something of the settings file's name that the reader will not take is the user's: it is
    // never replaced by the default file, and the message says why it was not read.
    void somethingInTheWayIsNeverReplaced() {
        struct Row {
            const char* rule;
            std::function<bool(const std::string&)> make;
            std::string cause;
        };
        for (const Row& row : {
                 Row{"folder", [](const std::string& p) { return ::mkdir(p.c_str(), 0700) == 0; },
                     std::strerror(EISDIR)},
                 Row{"pipe", [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; },
                     "Not a regular file"},
                 Row{"over 1 MiB",
                     [](const std::string& p) {
                         WriteFile(p, std::string(kMaxTextFileSize + 1, ';'));
                         return true;
                     },
                     "Larger than 1 MiB"},
             }) {
            DialogSession s;
            const std::string path = s.work.File("tavlo.cfg");
            QVERIFY2(row.make(path), row.rule);
            struct stat before {};
            QVERIFY(::stat(path.c_str(), &before) == 0);
            s.Open();
            s.ui.answers = {true};
            s.Click(kIdEditSettings);

            QCOMPARE(s.log, (CommandLog{"ask " + kCreateTitle, "show " + kCreateFailedTitle}));
            const std::string& text = s.ui.messages[0].text;
            QVERIFY2(
                text.find(path) != std::string::npos && text.find(row.cause) != std::string::npos,
                text.c_str());
            struct stat after {};
            QVERIFY(::stat(path.c_str(), &after) == 0 && after.st_ino == before.st_ino);
        }
    }

    void editorThatCannotStartIsReportedAndTheSequenceGoesOn() {
        DialogSession s;
        QVERIFY(s.work.WriteSettings("[Patch]\nSearchString = 'ATTENTION'\n"));
        s.Open();
        s.starter.results = {ENOENT};
        s.ui.onMessage = [&](const ScriptedUi::Message& message) {
            if (message.title == kHoldTitle) {
                s.work.WriteSettings("[Patch]\nSearchString = 'ATTENZIONE'\n");
            }
        };
        s.Click(kIdEditSettings);

        const std::string path = s.work.File("tavlo.cfg");
        QCOMPARE(s.log,
                 (CommandLog{"start xdg-open " + path, "show Tavlo : Could not launch xdg-open",
                             "show " + kHoldTitle}));
        QCOMPARE(s.ui.messages[0].text, LaunchFailure("xdg-open", ENOENT, path));
        QCOMPARE(s.SearchField(), QStringLiteral("ATTENZIONE"));
    }

    // An editor that cannot start on the file just created: the message names that file.
    void editorThatCannotStartOnTheCreatedFile() {
        DialogSession s;
        s.Open();
        s.ui.answers = {true};
        s.starter.results = {EACCES};
        s.Click(kIdEditSettings);

        const std::string path = s.work.File("tavlo.cfg");
        QCOMPARE(s.log,
                 (CommandLog{"ask " + kCreateTitle, "start xdg-open " + path,
                             "show Tavlo : Could not launch xdg-open", "show " + kHoldTitle}));
        QCOMPARE(s.ui.messages[0].text, LaunchFailure("xdg-open", EACCES, path));
    }

    // $VISUAL names the editor, in the question and the failure message too.
    void editorFromVisual() {
        DialogSession s;
        ScopedEnv visual("VISUAL", "my-editor --wait");
        s.Open();
        s.ui.answers = {true};
        s.starter.results = {ENOENT};
        s.Click(kIdEditSettings);

        const std::string path = s.work.File("tavlo.cfg");
        QCOMPARE(s.ui.questions[0].text, CreateQuestion("my-editor"));
        QCOMPARE(s.log,
                 (CommandLog{"ask " + kCreateTitle, "start my-editor --wait " + path,
                             "show Tavlo : Could not launch my-editor", "show " + kHoldTitle}));
        QCOMPARE(s.ui.messages[0].text, LaunchFailure("my-editor", ENOENT, path));
    }

    // A real editor that ends with a failure at once (a terminal editor without a terminal): the
    // launch-failed message with its exit status, then the sequence goes on.
    void realEditorThatFailsAtOnce() {
        DialogSession s;
        QVERIFY(s.work.WriteSettings("[Patch]\n"));
        QVERIFY(s.work.Write("broken-editor", "#!/bin/sh\nexit 3\n"));
        std::filesystem::permissions(s.work.File("broken-editor"),
                                     std::filesystem::perms::owner_all);
        ScopedEnv visual("VISUAL", s.work.File("broken-editor").c_str());
        s.Open();
        s.Dialog().SetProgramStarter(DesktopProgramStarter());
        s.Click(kIdEditSettings);

        const std::string editor = s.work.File("broken-editor");
        QCOMPARE(s.log,
                 (CommandLog{"show Tavlo : Could not launch " + editor, "show " + kHoldTitle}));
        QCOMPARE(s.ui.messages[0].text, LaunchFailure(editor, 3, s.work.File("tavlo.cfg")));
    }

    // A real editor, really started: a script that takes its time, then edits the file. The
    // command watches it for a second at most and does not wait for it; the user presses OK once
    // it has saved.
    void realEditorIsNotWaitedFor() {
        DialogSession s;
        QVERIFY(s.work.WriteSettings("[Patch]\nSearchString = 'ATTENTION'\n"));
        QVERIFY(s.work.Write("slow-editor",
                             "#!/bin/sh\nsleep 2\n"
                             "printf '[Patch]\\nSearchString = ATTENZIONE\\n' > \"$1\"\n"));
        std::filesystem::permissions(s.work.File("slow-editor"), std::filesystem::perms::owner_all);
        ScopedEnv visual("VISUAL", s.work.File("slow-editor").c_str());
        s.Open();
        s.Dialog().SetProgramStarter(DesktopProgramStarter());
        const auto edited = [&] {
            return s.work.Read("tavlo.cfg").value_or("").find("ATTENZIONE") != std::string::npos;
        };
        bool editedWhenBoxOpened = true;
        bool editedWhileBoxOpen = false;
        s.ui.onMessage = [&](const ScriptedUi::Message&) {
            editedWhenBoxOpened = edited();
            editedWhileBoxOpen = QTest::qWaitFor(edited, 10000);
        };
        s.Click(kIdEditSettings);

        QCOMPARE(s.log, CommandLog{"show " + kHoldTitle});  // started without a failure
        QVERIFY(!editedWhenBoxOpened);
        QVERIFY(editedWhileBoxOpen);
        QCOMPARE(s.SearchField(), QStringLiteral("ATTENZIONE"));
    }

    // The desktop's own boxes: the question and the waiting box are modal over the dialog, and
    // the settings are read again only once the waiting box has been closed.
    void realBoxesHoldTheDialogUntilOk() {
        Workspace work;
        ScopedEnv lcAll("LC_ALL", "en_US.UTF-8");
        ScopedEnv visual("VISUAL", nullptr);
        QtUiServices ui;
        ScriptedConfirmer confirmer;
        FirmwareImage image;
        CommandLog log;
        RecordingStarter starter(log);
        MainDialog dialog(work.ProgramPath(), ui, confirmer);
        dialog.SetImage(&image);
        dialog.SetProgramStarter(starter);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* search = dialog.findChild<QComboBox*>(QStringLiteral("control1005"));

        // The boxes are gone once closed: what is known of them is taken while they are open.
        bool questionOverDialog = false;
        bool waitingBoxOverDialog = false;
        bool modalWhileWaiting = false;
        QString searchWhileWaiting;
        WhenModalOpens([&](QWidget* window) {
            questionOverDialog = window->parentWidget() == &dialog;
            WhenModalOpens([&](QWidget* box) {
                waitingBoxOverDialog = box->parentWidget() == &dialog;
                modalWhileWaiting = QApplication::activeModalWidget() == box && box->isModal();
                searchWhileWaiting = search->currentText();
                work.Write("tavlo.cfg", "[Patch]\nSearchString = 'ATTENTION'\n");
                PressButton(box, "OK");
            });
            PressButton(window, "&Yes");
        });
        QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("control1002")),
                          Qt::LeftButton);

        QVERIFY(questionOverDialog);
        QVERIFY(waitingBoxOverDialog);
        QVERIFY(modalWhileWaiting);
        QCOMPARE(log, CommandLog{"start xdg-open " + work.File("tavlo.cfg")});
        QCOMPARE(searchWhileWaiting, QStringLiteral("WARNING"));  // the default file's word
        QCOMPARE(search->currentText(), QStringLiteral("ATTENTION"));
    }
};

TAVLO_REGISTER_TEST(EditSettingsTest);

}  // namespace tavlo::test

#include "edit_settings_test.moc"
