#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "support/test_files.h"
#include "workflow/desktop_programs.h"
#include "workflow/desktop_services.h"
#include "workflow/main_window_flow.h"
#include "workflow/patch_dialog_flow.h"
#include "workflow/patch_step.h"

// Stand-ins for what the flows drive: the window, its boxes and file dialog, the programs it
// starts and the patch dialog. Each notes what it is asked to do in one shared log, a line an
// event, so a test reads a whole sequence at a glance.
namespace tavlo::test {

// "show <title>", "ask <title>", "open <initial name>", "edit <file>", "browse <address>",
// "confirm <message>", "close".
using EventLog = std::vector<std::string>;

class FakeWindow : public MainWindowView {
public:
    explicit FakeWindow(EventLog& log) : log_(log) {}

    std::string FieldText(MainField field) const override;
    void SetFieldText(MainField field, std::string_view text) override;
    void SetSearchWords(const std::vector<std::string>& words) override { searchWords = words; }
    void SetWelcome(std::string_view text) override { welcome = text; }
    void FocusField(MainField field) override { focused = field; }
    void Close() override;
    void ShowPatchPending(bool pending) override { patchPending = pending; }

    std::string fileName;  // what the fields show; a test types by setting them
    std::string searchText;
    // How the file-name field shows a name the program puts there; none: as it is.
    std::function<std::string(std::string_view)> showsName;
    std::vector<std::string> searchWords;
    std::string welcome;
    std::optional<MainField> focused;
    bool patchPending = false;
    bool closed = false;

private:
    EventLog& log_;
};

// Message boxes and questions answered from a script, the file dialog choosing from one.
class FakeDesktop : public DesktopServices {
public:
    struct Box {
        std::string title;
        std::string text;
        MessageIcon icon = MessageIcon::None;
    };

    explicit FakeDesktop(EventLog& log) : log_(log) {}

    void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    bool AskYesNo(std::string_view title, std::string_view text) override;
    bool AskYesNoDefaultNo(std::string_view title, std::string_view text) override;
    YesNoCancel AskYesNoCancel(std::string_view title, std::string_view text) override;
    std::optional<std::string> GetOpenFileName(std::string_view initialName,
                                               std::span<const FileFilter> filters,
                                               std::string_view defaultExtension) override;

    std::vector<Box> boxes;           // messages and questions, in order
    std::deque<YesNoCancel> answers;  // for the questions, in turn; one missing fails the test
    std::deque<std::optional<std::string>> choices;  // for the file dialog; none left: Cancel
    std::vector<FileFilter> filters;                 // the file dialog's last ones
    std::string defaultExtension;
    std::function<void(const Box&)> whileShown;  // the user's time while a message is open

private:
    YesNoCancel Answer(std::string_view title, std::string_view text);
    EventLog& log_;
};

// The editor, browser and help folder, starting nothing: each start answers the next scripted
// error number (0, a start, when none are left).
class FakePrograms : public DesktopPrograms {
public:
    explicit FakePrograms(EventLog& log) : log_(log) {}

    std::string EditorName() override { return "Notepad"; }
    LaunchResult OpenInEditor(const std::string& file) override;
    std::string AddressOf(const std::string& file) override { return "file:" + file; }
    LaunchResult OpenInBrowser(const std::string& address) override;
    std::string HelpFolder() override { return helpFolder; }

    std::string helpFolder;
    std::deque<int> results;

private:
    int NextResult();
    EventLog& log_;
};

// Answers the patch step at each match, typing the scripted text first, and keeps the requests.
class ScriptedConfirmer : public PatchConfirmer {
public:
    struct Reply {
        Answer answer;
        std::optional<std::string> typed;  // typed over the proposal before the answer
    };

    explicit ScriptedConfirmer(EventLog& log) : log_(log) {}
    Answer Confirm(PatchRequest& request) override;

    std::vector<PatchRequest> requests;
    std::deque<Reply> replies;  // one missing cancels and fails the test

private:
    EventLog& log_;
};

// The patch dialog: what it was told to show, and a box the test types into.
class FakePatchDialog : public PatchDialogView {
public:
    void ShowTexts(std::string_view foundText, std::string_view infoText,
                   std::string_view newText) override;
    std::string NewText() const override { return box; }
    void ShowCounter(std::string_view text, Rgb colour) override;
    void ShowHiddenNote(std::string_view text) override { note = text; }
    void ShowPreview(const RgbRaster& raster, RasterRows changed) override;
    void ShowPreviewNote(std::string_view text) override { previewNote = text; }
    void Close() override { closed = true; }

    std::string found;
    std::string info;
    std::string box;
    std::string counter;
    Rgb counterColour{1, 2, 3};  // none of the flow's colours
    std::string note;
    std::vector<RasterRows> previews;  // the rows of each preview shown
    std::string previewNote;           // what the preview's place says instead
    RgbRaster shown;                   // what the preview shows, as the view would paint it
    bool closed = false;
};

// A desktop program's window over fakes, in a folder of its own: the program "tavlo" lies there
// (its settings file is tavlo.cfg beside it), with the firmware file "unit.rgn".
struct WindowSession {
    explicit WindowSession(const std::string& firmware = "");

    std::string Path(std::string_view name) const { return dir.File(name); }
    // The firmware file as it is on disk now.
    std::string Firmware() const { return ReadFile(Path("unit.rgn")); }

    TempDir dir;
    ScopedEnv language{"LC_ALL", "en_US.UTF-8"};
    EventLog log;
    FakeWindow window{log};
    FakeDesktop desktop{log};
    FakePrograms programs{log};
    ScriptedConfirmer confirmer{log};
    FirmwareImage image;
    MainWindowFlow flow{dir.File("tavlo"), image, window, desktop, confirmer};
};

// Firmware bytes with the message twice: "WARNING: ..." inside the second string, and
// "WARNING second" in the fourth.
std::string TwoMessageFirmware();

}  // namespace tavlo::test
