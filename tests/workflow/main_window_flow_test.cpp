// The main window's commands through fakes of the window, its boxes and its patch dialog, on
// real firmware files: Search with every answer of the patch dialog, the ways out with and
// without a patch pending, the start-up values, the fields' length rule, Browse and drops.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/file_names.h"
#include "core/version_info.h"
#include "fakes.h"
#include "support/any_file_names.h"
#include "support/image_files.h"
#include "workflow/settings_editor_flow.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;
using Reply = ScriptedConfirmer::Reply;

const std::string kFirst = "WARNING: this unit is not yours";
const std::string kSecond = "WARNING second";
const std::string kNotFound = "show Tavlo : Search text not found";
const std::string kSaveQuestion = "ask Tavlo : Save changes ?";

// The firmware with `text` written over `message`, fitted to its length.
std::string Patched(const std::string& message, std::string text) {
    text.resize(message.size(), ' ');
    std::string bytes = TwoMessageFirmware();
    bytes.replace(bytes.find(message), message.size(), text);
    return bytes;
}

// The session's window started, with its fields on the unit's file and `searchText`.
void StartOnUnit(WindowSession& s, const std::string& searchText = "WARNING") {
    s.flow.Start();
    s.window.fileName = s.Path("unit.rgn");
    s.window.searchText = searchText;
}

struct SearchRow {
    const char* rule;
    std::string searchText;
    std::string fileName;  // "": the unit's file
    std::vector<Reply> replies;
    EventLog log;
    std::string image;  // after the Search; "": the file as it is
};

const std::string kFolder = "folder";

const SearchRow kSearchRows[] = {
    {"Cancel ends the search, nothing written",
     "WARNING",
     "",
     {{Answer::Cancel, "x"}},
     {"confirm " + kFirst},
     ""},
    {"OK writes the typed text fitted to the message",
     "WARNING",
     "",
     {{Answer::Ok, "Call 555-0100\n"}},
     {"confirm " + kFirst},
     Patched(kFirst, "Call 555-0100\n")},
    {"Find Next goes on, and after the last match the text is not found",
     "WARNING",
     "",
     {{Answer::FindNext, {}}, {Answer::FindNext, {}}},
     {"confirm " + kFirst, "confirm " + kSecond, kNotFound},
     ""},
    {"Find Next, then OK patches the second match",
     "WARNING",
     "",
     {{Answer::FindNext, {}}, {Answer::Ok, "Owner"}},
     {"confirm " + kFirst, "confirm " + kSecond},
     Patched(kSecond, "Owner")},
    {"the search is case-sensitive", "warning", "", {}, {kNotFound}, ""},
    {"an empty search text: the file is loaded, then the message",
     "",
     "",
     {},
     {"show Tavlo : Nothing to search for"},
     ""},
    {"a file that is not there",
     "WARNING",
     "none.rgn",
     {},
     {"show Tavlo : Could not load file to patch"},
     ""},
    {"a folder is no file",
     "WARNING",
     kFolder,
     {},
     {"show Tavlo : Could not load file to patch"},
     ""},
};

TEST(MainWindowFlow, SearchGoesThroughTheMatchesAsThePatchDialogAnswers) {
    for (const SearchRow& row : kSearchRows) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        std::filesystem::create_directory(PathOf(s.Path(kFolder)));
        StartOnUnit(s, row.searchText);
        if (!row.fileName.empty()) {
            s.window.fileName = s.Path(row.fileName);
        }
        s.confirmer.replies.assign(row.replies.begin(), row.replies.end());
        s.flow.Search();
        EXPECT_EQ(s.log, row.log);
        const bool patched = !row.image.empty();
        if (s.image.Data() != nullptr) {
            EXPECT_EQ(ImageBytes(s.image), patched ? row.image : TwoMessageFirmware());
        }
        EXPECT_EQ(s.image.IsModified(), patched);
        EXPECT_EQ(s.window.patchPending, patched);
        EXPECT_EQ(s.Firmware(), TwoMessageFirmware());  // nothing is saved before the way out
        if (!s.desktop.boxes.empty()) {
            // A message names the file it could not load.
            const FakeDesktop::Box& box = s.desktop.boxes.back();
            EXPECT_EQ(box.title.find("load") == std::string::npos,
                      box.text.find("'" + s.window.fileName + "'") == std::string::npos);
        }
    }
}

TEST(MainWindowFlow, TheRequestCarriesTheMessageItsLengthAndTheFittedProposal) {
    WindowSession s;
    WriteFile(s.Path("tavlo.cfg"), "[Patch]\nL1 = Jane\nL2 = 555\n[Display]\nMagX = 3\n");
    StartOnUnit(s);
    s.confirmer.replies = {{Answer::Cancel, {}}};
    s.flow.Search();
    ASSERT_EQ(s.confirmer.requests.size(), 1u);
    const PatchRequest& request = s.confirmer.requests[0];
    EXPECT_EQ(request.currentText, kFirst);
    EXPECT_EQ(request.infoText, "String to be replaced is 31 bytes long:\n");
    EXPECT_EQ(request.newText, "Jane\n555\n(555) 31122000\nt@examp");  // L3, L4: their defaults
    EXPECT_EQ(request.magX, 3);
    EXPECT_EQ(request.magY, 2);
}

// Every way out of the window, and a second Search, settles a patch not saved yet first: Yes
// saves it with a backup, No drops it, Cancel keeps it and the window as they are.
struct WayOutRow {
    const char* rule;
    bool search;  // else Exit (the button, Escape, the close box: they are one command)
    YesNoCancel answer;
    EventLog log;
    bool saved;
    bool pending;  // when the window stays: the patch is still in memory
};

const WayOutRow kWaysOut[] = {
    {"Exit, Yes: saved with a backup, the window closes",
     false,
     YesNoCancel::Yes,
     {kSaveQuestion, "close"},
     true,
     false},
    {"Exit, No: the file stays as it was, the window closes",
     false,
     YesNoCancel::No,
     {kSaveQuestion, "close"},
     false,
     false},
    {"Exit, Cancel: the window and the patch stay",
     false,
     YesNoCancel::Cancel,
     {kSaveQuestion},
     false,
     true},
    {"Search, Yes: saved, then the saved file is searched",
     true,
     YesNoCancel::Yes,
     {kSaveQuestion, "confirm " + kSecond},
     true,
     false},
    {"Search, No: the file on disk is searched again",
     true,
     YesNoCancel::No,
     {kSaveQuestion, "confirm " + kFirst},
     false,
     false},
    {"Search, Cancel: nothing is searched",
     true,
     YesNoCancel::Cancel,
     {kSaveQuestion},
     false,
     true},
};

TEST(MainWindowFlow, APendingPatchIsSettledBeforeTheWayOut) {
    for (const WayOutRow& row : kWaysOut) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        StartOnUnit(s);
        s.confirmer.replies = {{Answer::Ok, "Mine"}, {Answer::Cancel, {}}};
        s.flow.Search();
        s.log.clear();
        s.desktop.answers = {row.answer};
        row.search ? s.flow.Search() : s.flow.Exit();
        EXPECT_EQ(s.log, row.log);
        EXPECT_EQ(s.Firmware(), row.saved ? Patched(kFirst, "Mine") : TwoMessageFirmware());
        EXPECT_EQ(FileExists(s.Path("unit.bak")), row.saved);
        if (row.saved) {
            EXPECT_EQ(ReadFile(s.Path("unit.bak")), TwoMessageFirmware());
        }
        if (!s.window.closed) {
            EXPECT_EQ(s.image.IsModified(), row.pending);
            EXPECT_EQ(s.window.patchPending, row.pending);
        }
        // The question names the file and says what No does for this command.
        const std::string& question = s.desktop.boxes.front().text;
        EXPECT_NE(question.find("'" + s.Path("unit.rgn") + "'"), std::string::npos);
        EXPECT_EQ(question.ends_with("exit without saving your changes."), !row.search);
    }
}

TEST(MainWindowFlow, WithNothingPatchedExitClosesAtOnce) {
    for (const bool searched : {false, true}) {
        SCOPED_TRACE(searched ? "after a Search that was cancelled" : "before any Search");
        WindowSession s;
        StartOnUnit(s);
        if (searched) {
            s.confirmer.replies = {{Answer::Cancel, {}}};
            s.flow.Search();
            s.log.clear();
        }
        s.flow.Exit();
        EXPECT_EQ(s.log, EventLog{"close"});
    }
}

// The file was changed behind the program's back after Search: Yes to saving asks again, and
// only Yes then overwrites it (what was on disk becomes the backup).
TEST(MainWindowFlow, AFileChangedOnDiskIsOverwrittenOnlyWhenTheUserSaysSo) {
    for (const YesNoCancel overwrite : {YesNoCancel::No, YesNoCancel::Yes}) {
        const bool yes = overwrite == YesNoCancel::Yes;
        SCOPED_TRACE(yes ? "Yes" : "No");
        WindowSession s;
        StartOnUnit(s);
        s.confirmer.replies = {{Answer::Ok, "Mine"}};
        s.flow.Search();
        const std::string theirs = TwoMessageFirmware() + "their change";
        WriteFile(s.Path("unit.rgn"), theirs);
        s.log.clear();
        s.desktop.answers = {YesNoCancel::Yes, overwrite};
        s.flow.Exit();
        EventLog expected{kSaveQuestion, "ask Tavlo : File changed on disk"};
        if (yes) {
            expected.push_back("close");
        }
        EXPECT_EQ(s.log, expected);
        EXPECT_EQ(s.Firmware(), yes ? Patched(kFirst, "Mine") : theirs);
        EXPECT_EQ(FileExists(s.Path("unit.bak")), yes);
        EXPECT_EQ(s.window.closed, yes);
        if (!yes) {
            EXPECT_TRUE(s.window.patchPending);  // kept in memory: Exit asks again
        }
    }
}

struct StartUpRow {
    const char* rule;
    const char* locale;
    std::string settings;            // tavlo.cfg, with "DIR" for the session's folder; "": none
    std::vector<std::string> files;  // made in the folder; a name ending in "/" is a folder
    std::string startupFile;         // "": none; else the field shows its path
    std::string fileName;            // the field, with "DIR" for the session's folder
    std::string searchText;
};

const StartUpRow kStartUps[] = {
    {"German user, no settings", "de_DE.UTF-8", "", {}, "", "*.rgn", "WARNUNG"},
    {"Spanish user", "es_ES.UTF-8", "", {}, "", "*.rgn", "ATENCI\xD3N"},
    {"Dutch user: English", "nl_NL.UTF-8", "", {}, "", "*.rgn", "WARNING"},
    {"the settings' search text wins over the language",
     "de_DE.UTF-8",
     "[Patch]\nSearchString = 'ATTENZIONE'\n",
     {},
     "",
     "*.rgn",
     "ATTENZIONE"},
    {"the first matching file in name order; a folder is no file",
     "C",
     "[Image]\nFilename = DIR/*.rgn\n",
     {"b.rgn", "a2.rgn", "a1.rgn/"},
     "",
     "DIR/a2.rgn",
     "WARNING"},
    {"letters match in either case, the name as the folder spells it",
     "C",
     "[Image]\nFilename = DIR/gps_*.rgn\n",
     {"GPS_0420.RGN", "readme.txt"},
     "",
     "DIR/GPS_0420.RGN",
     "WARNING"},
    {"a pattern that matches nothing stays",
     "C",
     "[Image]\nFilename = DIR/*.bin\n",
     {"unit.rgn"},
     "",
     "DIR/*.bin",
     "WARNING"},
    {"the file the program was started with takes the pattern's place",
     "C",
     "[Image]\nFilename = DIR/*.rgn\n[Patch]\nSearchString = WARNUNG\n",
     {"a.rgn"},
     "opened.rgn",
     "",
     "WARNUNG"},
};

TEST(MainWindowFlow, StartUpValuesComeFromTheSettingsTheLanguageAndTheFolder) {
    for (const StartUpRow& row : kStartUps) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        ScopedEnv language("LC_ALL", row.locale);
        const auto inFolder = [&](std::string text) {
            for (std::size_t at; (at = text.find("DIR")) != std::string::npos;) {
                text.replace(at, 3, s.dir.Path().string());
            }
            return text;
        };
        if (!row.settings.empty()) {
            WriteFile(s.Path("tavlo.cfg"), inFolder(row.settings));
        }
        for (const std::string& name : row.files) {
            name.ends_with("/") ? void(std::filesystem::create_directory(PathOf(s.Path(name))))
                                : WriteFile(s.Path(name), "x");
        }
        if (!row.startupFile.empty()) {
            s.flow.SetStartupFile(s.Path(row.startupFile));
        }
        s.flow.Start();
        EXPECT_EQ(s.window.fileName,
                  row.startupFile.empty() ? inFolder(row.fileName) : s.Path(row.startupFile));
        EXPECT_EQ(s.window.searchText, row.searchText);
        EXPECT_EQ(s.flow.CurrentSettings().Path().has_value(), !row.settings.empty());
        EXPECT_TRUE(s.log.empty());
    }
}

TEST(MainWindowFlow, TheWindowShowsTheSortedSearchWordsAndTheVersion) {
    WindowSession s;
    s.flow.Start();
    s.flow.ApplySettings();
    EXPECT_EQ(s.window.searchWords, (std::vector<std::string>{"ATENCI\xD3N", "ATTENTION",
                                                              "ATTENZIONE", "WARNING", "WARNUNG"}));
    EXPECT_TRUE(s.window.welcome.starts_with("Welcome to Tavlo, the firmware patch program"));
    EXPECT_NE(s.window.welcome.find(GetProductVersion()), std::string::npos);
    EXPECT_EQ(AboutVersionText(), "Tavlo Version " + GetProductVersion());
}

// Typing stops at 128 characters, so a longer text the user typed is a slip: it is reported,
// gets the focus, and the command goes on with what was read up to it. A longer path the
// program itself put into the field is the user's file: it is searched, with the search text
// the field shows.
TEST(MainWindowFlow, AFieldTooLongIsReportedUnlessTheProgramPutItThere) {
    const std::string longName = std::string(130, 'n') + ".rgn";
    struct Row {
        const char* rule;
        std::function<void(WindowSession&)> fill;
        EventLog log;
        std::optional<MainField> focused;
    };
    const Row rows[] = {
        {"a file name typed longer",
         [&](WindowSession& s) { s.window.fileName += longName; },
         {"show Tavlo", "show Tavlo : Could not load file to patch"},
         MainField::FileName},
        {"a search text typed longer",
         [](WindowSession& s) { s.window.searchText = std::string(129, 'W'); },
         {"show Tavlo", kNotFound},
         MainField::SearchText},
        {"128 characters are taken",
         [](WindowSession& s) { s.window.searchText.resize(128, 'W'); },
         {kNotFound},
         std::nullopt},
        {"the file the program was started with (or a dropped one)",
         [&](WindowSession& s) { s.flow.TakeFilePath(s.Path(longName)); },
         {"confirm " + kSecond},
         std::nullopt},
        {"a file chosen with Browse",
         [&](WindowSession& s) {
             s.desktop.choices = {s.Path(longName)};
             s.flow.Browse();
             s.log.clear();
         },
         {"confirm " + kSecond},
         std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        WriteFile(s.Path(longName), TwoMessageFirmware());
        StartOnUnit(s, "WARNING s");
        row.fill(s);
        s.confirmer.replies = {{Answer::Cancel, {}}};
        s.flow.Search();
        EXPECT_EQ(s.log, row.log);
        EXPECT_EQ(s.window.focused, row.focused);
        if (row.focused) {
            EXPECT_EQ(s.desktop.boxes[0].text, "Please enter no more than 128 characters.");
            EXPECT_EQ(s.desktop.boxes[0].icon, MessageIcon::Exclamation);
        }
    }
}

// Browse, or a file dropped onto the window, names the file to patch and changes nothing else.
TEST(MainWindowFlow, BrowseAndDropsFillTheFileNameField) {
    struct Row {
        const char* rule;
        std::function<void(WindowSession&)> act;
        std::string fileName;  // the field afterwards
        EventLog log;
    };
    const std::string chosen = "/x/unit 2.rgn";
    const Row rows[] = {
        {"Browse, a file chosen",
         [&](WindowSession& s) {
             s.desktop.choices = {chosen};
             s.flow.Browse();
         },
         chosen,
         {"open typed.rgn"}},
        {"Browse, cancelled",
         [](WindowSession& s) { s.flow.Browse(); },
         "typed.rgn",
         {"open typed.rgn"}},
        {"a file dropped", [&](WindowSession& s) { s.flow.TakeFilePath(chosen); }, chosen, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        s.flow.Start();
        s.window.fileName = "typed.rgn";
        s.window.searchText = "typed";
        row.act(s);
        EXPECT_EQ(s.window.fileName, row.fileName);
        EXPECT_EQ(s.window.searchText, "typed");
        EXPECT_EQ(s.log, row.log);
        EXPECT_EQ(s.image.Data(), nullptr);  // nothing is loaded
    }
    WindowSession s;
    s.flow.Browse();
    ASSERT_EQ(s.desktop.filters.size(), 2u);
    EXPECT_EQ(std::string(s.desktop.filters[0].patterns), "*.rgn");
    EXPECT_EQ(std::string(s.desktop.filters[1].patterns), "*.*");
    EXPECT_EQ(s.desktop.defaultExtension, "rgn");
}

// A file named in any script, whether the system gave its name (the start, Browse, a drop) or
// the user typed it, is searched and saved under that name, and the save question names it as
// it is.
TEST(MainWindowFlow, AFileInAnyScriptIsSearchedSavedAndNamedAsItIs) {
    const std::pair<const char*, std::function<void(WindowSession&, const std::string&)>> ways[] = {
        {"given by the system",
         [](WindowSession& s, const std::string& path) { s.flow.TakeFilePath(path); }},
        {"typed", [](WindowSession& s, const std::string& path) { s.window.fileName = path; }},
    };
    for (const AnyFileName& name : kAnyFileNames) {
        for (const auto& [way, enter] : ways) {
            SCOPED_TRACE(std::string(name.language) + ", " + way);
            WindowSession s;
            std::filesystem::create_directory(PathOf(s.Path(name.folder)));
            const std::string path = s.Path(std::string(name.folder) + "/" + name.file);
            WriteFile(path, TwoMessageFirmware());
            StartOnUnit(s);
            enter(s, path);
            s.confirmer.replies = {{Answer::Ok, "Mine"}};
            s.flow.Search();
            s.desktop.answers = {YesNoCancel::Yes};
            s.flow.Exit();
            EXPECT_EQ(s.log, (EventLog{"confirm " + kFirst, kSaveQuestion, "close"}));
            EXPECT_EQ(ReadFile(path), Patched(kFirst, "Mine"));
            ASSERT_FALSE(s.desktop.boxes.empty());
            EXPECT_NE(s.desktop.boxes[0].text.find("'" + PathForMessageBox(path) + "'"),
                      std::string::npos);
        }
    }
}

// Explorer's "Copy as path" puts the path in double quotes: a name wholly inside one pair is
// taken without them, anything else as it is.
TEST(MainWindowFlow, ANameWhollyInOnePairOfQuotesIsTakenWithoutThem) {
    struct Row {
        const char* rule;
        std::string before, after;  // around the unit's path
        bool found;
    };
    const Row rows[] = {
        {"one pair", "\"", "\"", true},
        {"no closing quote", "\"", "", false},
        {"no opening quote", "", "\"", false},
        {"two pairs", "\"\"", "\"\"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        WindowSession s;
        StartOnUnit(s);
        s.window.fileName = row.before + s.Path("unit.rgn") + row.after;
        s.confirmer.replies = {{Answer::Cancel, {}}};
        s.flow.Search();
        EXPECT_EQ(s.log, EventLog{row.found ? "confirm " + kFirst
                                            : "show Tavlo : Could not load file to patch"});
    }
}

#ifndef _WIN32
// A Linux name need not be UTF-8 (an old disk's Latin-1 names): a field shows it with U+FFFD,
// yet while the user leaves the field alone it names the file itself. Once the user changes
// it, the field's text is the name.
TEST(MainWindowFlow, ANameTheFieldCannotShowStillNamesItsFile) {
    for (const bool edited : {false, true}) {
        SCOPED_TRACE(edited ? "edited in the field" : "left as it is");
        WindowSession s;
        const std::string path = s.Path("caf\xE9.rgn");
        WriteFile(path, TwoMessageFirmware());
        s.window.showsName = [](std::string_view name) { return PathForMessageBox(name); };
        s.flow.SetStartupFile(path);
        s.flow.Start();
        EXPECT_EQ(s.window.fileName, s.Path("caf\xEF\xBF\xBD.rgn"));
        if (edited) {
            s.window.fileName += ".old";
        }
        s.window.searchText = "WARNING";
        s.confirmer.replies = {{Answer::Cancel, {}}};
        s.flow.Search();
        EXPECT_EQ(s.log, EventLog{edited ? "show Tavlo : Could not load file to patch"
                                         : "confirm " + kFirst});
    }
}
#endif

// Edit settings reads the settings again; while a patch is pending, the field keeps naming the
// file the patch belongs to, the one Exit saves.
TEST(MainWindowFlow, WhileAPatchIsPendingTheSettingsLeaveTheFileNameAlone) {
    for (const bool pending : {false, true}) {
        SCOPED_TRACE(pending ? "a patch pending" : "nothing pending");
        WindowSession s;
        WriteFile(s.Path("other.rgn"), TwoMessageFirmware());
        WriteFile(s.Path("tavlo.cfg"), "[Image]\nFilename = " + s.Path("*.rgn") + "\n");
        StartOnUnit(s);
        s.confirmer.replies = {{pending ? Answer::Ok : Answer::Cancel, {}}};
        s.flow.Search();
        EditSettings(s.flow, s.programs);
        EXPECT_EQ(s.window.fileName, pending ? s.Path("unit.rgn") : s.Path("other.rgn"));
        EXPECT_EQ(s.image.IsModified(), pending);
    }
}

}  // namespace
}  // namespace tavlo::test
