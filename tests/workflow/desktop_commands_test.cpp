// View help and Edit settings through fakes of the window, its boxes and the programs they
// start: the sequence of questions, starts and messages, the files written, and the settings
// read again.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "core/embedded_resources.h"
#include "core/file_names.h"
#include "core/text_file.h"
#include "fakes.h"
#include "settings/settings_location.h"
#include "workflow/help_flow.h"
#include "workflow/main_window_keys.h"
#include "workflow/settings_editor_flow.h"

namespace tavlo::test {
namespace {

const std::string kCreate = "ask Tavlo : Create default settings file ?";
const std::string kHold = "show Tavlo";  // the waiting box, titled with the program's name

std::string ResourceBytes(const char* name, const char* type) {
    const auto resource = FindResource(name, type);
    return resource ? std::string(reinterpret_cast<const char*>(resource->data()), resource->size())
                    : std::string();
}

struct EditRow {
    const char* rule;
    std::string before;                // tavlo.cfg before the command; "": none
    std::vector<YesNoCancel> answers;  // to the question
    std::vector<int> editorResults;
    EventLog log;            // with "CFG" for the settings file's path
    std::string searchText;  // the field afterwards
};

const std::string kAttention = "[Patch]\nSearchString = 'ATTENTION'\n";

const EditRow kEdits[] = {
    {"a settings file: opened, then read again when the user is done",
     kAttention,
     {},
     {},
     {"edit CFG", kHold},
     "ATTENZIONE"},
    {"none, No: nothing else happens", "", {YesNoCancel::No}, {}, {kCreate}, "typed"},
    {"none, Yes: the default file is written and opened",
     "",
     {YesNoCancel::Yes},
     {},
     {kCreate, "edit CFG", kHold},
     "ATTENZIONE"},
    {"an editor that cannot start: its message, then the same sequence",
     kAttention,
     {},
     {ENOENT},
     {"edit CFG", "show Tavlo : Could not launch Notepad", kHold},
     "ATTENZIONE"},
};

TEST(EditSettings, OffersTheDefaultFileOpensItAndReadsItAgainAfterOk) {
    for (const EditRow& row : kEdits) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        const std::string path = s.Path("tavlo.cfg");
        if (!row.before.empty()) {
            WriteFile(path, row.before);
        }
        s.flow.Start();
        s.window.searchText = "typed";
        s.desktop.answers.assign(row.answers.begin(), row.answers.end());
        s.programs.results.assign(row.editorResults.begin(), row.editorResults.end());
        std::string writtenWhenStarted;
        s.desktop.whileShown = [&](const FakeDesktop::Box& box) {
            if (box.title == "Tavlo") {  // the user edits and saves while the box waits
                writtenWhenStarted = ReadFile(path);
                WriteFile(path, "[Patch]\nSearchString = 'ATTENZIONE'\n");
            }
        };
        EditSettings(s.flow, s.programs);
        EventLog expected = row.log;
        for (std::string& line : expected) {
            line = line == "edit CFG" ? "edit " + path : line;
        }
        EXPECT_EQ(s.log, expected);
        EXPECT_EQ(s.window.searchText, row.searchText);
        const bool created =
            row.before.empty() && !row.answers.empty() && row.answers[0] == YesNoCancel::Yes;
        if (created) {
            EXPECT_EQ(writtenWhenStarted, ResourceBytes("tavlo.cfg", "RT_TAVLO"));
        }
        EXPECT_EQ(FileExists(path), row.log.size() > 1);
    }
}

TEST(EditSettings, TheLaunchFailureNamesTheEditorItsErrorAndTheFile) {
    WindowSession s;
    WriteFile(s.Path("tavlo.cfg"), "[Patch]\n");
    s.flow.Start();
    s.programs.results = {EACCES};
    EditSettings(s.flow, s.programs);
    const std::string& text = s.desktop.boxes.at(0).text;
    EXPECT_NE(text.find("Notepad"), std::string::npos);
    EXPECT_NE(text.find("#" + std::to_string(EACCES) + " "), std::string::npos);
    EXPECT_NE(text.find(PathForMessageBox(s.Path("tavlo.cfg"))), std::string::npos);
    EXPECT_EQ(s.desktop.boxes.at(1).text,
              "Press OK when you are finished editing and have saved the config file");
}

// What lies where the settings file is to go and cannot be read as one is the user's: it is
// never replaced, and no editor is started without the file.
TEST(EditSettings, ASettingsFileThatCannotBeCreatedIsOneMessage) {
    struct Row {
        const char* rule;
        std::function<void(WindowSession&)> make;
        std::string program;  // below the session's folder
    };
    const Row rows[] = {
        {"a folder of its name",
         [](WindowSession& s) { std::filesystem::create_directory(PathOf(s.Path("tavlo.cfg"))); },
         "tavlo"},
        {"a file of over 1 MiB",
         [](WindowSession& s) {
             WriteFile(s.Path("tavlo.cfg"), std::string(kMaxTextFileSize + 1, ';'));
         },
         "tavlo"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        row.make(s);
        MainWindowFlow flow(s.Path(row.program), s.image, s.window, s.desktop, s.confirmer);
        flow.Start();
        s.desktop.answers = {YesNoCancel::Yes};
        EditSettings(flow, s.programs);
        EXPECT_EQ(s.log,
                  (EventLog{kCreate, "show Tavlo : Could not create default settings file"}));
        EXPECT_NE(s.desktop.boxes.back().text.find(PathForMessageBox(s.Path(row.program + ".cfg"))),
                  std::string::npos);
        EXPECT_FALSE(flow.CurrentSettings().Path());
    }
}

#ifndef _WIN32  // Windows' per-user folder is the prefix's own %APPDATA%, not the test's
// Where the program's folder does not take the file, the user's own folder gets it; where
// neither does, the message names the last place tried.
TEST(EditSettings, AProgramFolderThatDoesNotTakeTheFilePassesItOnToTheUsersOwn) {
    for (const bool userFolder : {true, false}) {
        SCOPED_TRACE(userFolder ? "the user's folder takes it" : "neither takes it");
        WindowSession s;
        WriteFile(s.Path("plain"), "a file, so no folder can be made below it");
        const ScopedEnv config("XDG_CONFIG_HOME",
                               s.Path(userFolder ? "config" : "plain/config").c_str());
        const std::string perUser = PerUserSettingsFile().value();
        MainWindowFlow flow(s.Path("plain/tavlo"), s.image, s.window, s.desktop, s.confirmer);
        flow.Start();
        s.desktop.answers = {YesNoCancel::Yes};
        EditSettings(flow, s.programs);
        if (userFolder) {
            EXPECT_EQ(s.log, (EventLog{kCreate, "edit " + perUser, kHold}));
            EXPECT_EQ(ReadFile(perUser), ResourceBytes("tavlo.cfg", "RT_TAVLO"));
        } else {
            EXPECT_EQ(s.log,
                      (EventLog{kCreate, "show Tavlo : Could not create default settings file"}));
            EXPECT_NE(s.desktop.boxes.back().text.find(PathForMessageBox(perUser)),
                      std::string::npos);
        }
    }
}
#endif

TEST(ViewHelp, WritesThePageAndItsPicturesAndOpensThePageInTheBrowser) {
    struct Row {
        const char* rule;
        std::string folder;  // below the session's folder
        std::vector<int> browserResults;
        bool written;
        std::string message;  // "": none
    };
    const Row rows[] = {
        {"written and opened", "data/help", {}, true, ""},
        {"over an earlier copy", "old", {}, true, ""},
        {"a browser that cannot start",
         "data/help",
         {ENOENT},
         true,
         "show Tavlo : Could not launch Browser"},
        {"a folder that cannot be made: no browser",
         "plain/help",
         {},
         false,
         "show Tavlo : Could not write the help file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        WriteFile(s.Path("plain"), "a file, not a folder");
        std::filesystem::create_directories(PathOf(s.Path("old/img")));
        WriteFile(s.Path("old/index.htm"), "stale");
        s.programs.helpFolder = s.Path(row.folder);
        s.programs.results.assign(row.browserResults.begin(), row.browserResults.end());
        ViewHelp(s.desktop, s.programs);
        EventLog expected;
        const std::string page = NativePathOf(PathOf(s.programs.helpFolder) / "index.htm");
        if (row.written) {
            expected.push_back("browse file:" + page);
        }
        if (!row.message.empty()) {
            expected.push_back(row.message);
        }
        EXPECT_EQ(s.log, expected);
        for (const HelpFile& file : HelpFiles()) {
            const std::string path =
                NativePathOf(PathOf(s.programs.helpFolder) / file.relativePath);
            EXPECT_EQ(FileExists(path), row.written) << path;
            if (row.written) {
                EXPECT_EQ(ReadFile(path), ResourceBytes(file.resourceName, file.resourceType));
            }
        }
        if (!row.message.empty()) {
            // The message says what was tried: the page's address, or the file not written.
            EXPECT_NE(s.desktop.boxes.back().text.find(
                          PathForMessageBox(row.written ? "file:" + page : page)),
                      std::string::npos);
        }
    }
}

TEST(WindowKeys, EachKeyRunsItsCommand) {
    for (const CommandKey& key : MainWindowKeys()) {
        SCOPED_TRACE(KeyName(key));
        WindowSession s;
        s.programs.helpFolder = s.Path("help");
        int abouts = 0;
        RunWindowCommand(key.command, s.desktop, s.programs, [&] { ++abouts; });
        const bool help = key.command == WindowCommand::ViewHelp;
        EXPECT_EQ(abouts, help ? 0 : 1);
        EXPECT_EQ(s.log.size(), help ? 1u : 0u);
        if (help && !s.log.empty()) {
            EXPECT_EQ(s.log[0].rfind("browse file:", 0), 0u) << s.log[0];
        }
    }
}

}  // namespace
}  // namespace tavlo::test
