#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"

namespace tavlo {

class DesktopServices;
class FirmwareImage;
class PatchConfirmer;

// The longest text a field of the main window takes from the keyboard.
inline constexpr std::size_t kMaxFieldLength = 128;

// The two fields of the main window.
enum class MainField { FileName, SearchText };

// What the main window's flows need of the window itself. The file-name field holds a file name
// as the program holds them, in UTF-8 (core/file_names.h), in whatever script; every other text
// is Windows-1252, the receiver's character set.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual std::string FieldText(MainField field) const = 0;
    // Puts a text into a field. Typing stops at kMaxFieldLength characters (UTF-16 units, as the
    // toolkits count them); what the program puts there is never cut.
    virtual void SetFieldText(MainField field, std::string_view text) = 0;
    // The drop-down list of the search field.
    virtual void SetSearchWords(const std::vector<std::string>& words) = 0;
    virtual void SetWelcome(std::string_view text) = 0;
    // Puts the focus into a field (and selects the file name, to be typed over).
    virtual void FocusField(MainField field) = 0;
    // Ends the window's modal run.
    virtual void Close() = 0;
    // Shows whether the image holds a patch not saved yet (the title's modified marker).
    virtual void ShowPatchPending(bool pending) = 0;
};

// The "Tavlo Version ..." line of the About box.
std::string AboutVersionText();

// The main window's commands without a toolkit: the settings applied to the fields, Browse,
// Search, Exit and a file dropped onto the window. Every front-end drives the same flows; its
// window is the view, its message boxes and file dialog the desktop services, its patch dialog
// the confirmer.
class MainWindowFlow {
public:
    // `programPath`: argument zero as the program was started; it locates the settings file
    // and names the program in messages. `image`: the firmware image the commands work on.
    MainWindowFlow(std::string programPath, FirmwareImage& image, MainWindowView& view,
                   DesktopServices& desktop, PatchConfirmer& confirmer);

    // A file named when the program was started (a file opened from the file manager), as the
    // file system spells it: it takes the settings' file name's place at start-up.
    void SetStartupFile(std::optional<std::string> nativePath) {
        startupFile_ = std::move(nativePath);
    }

    // The window's initialisation: the settings, the file the program was started with, then
    // the welcome line.
    void Start();

    // Reads the settings file afresh and puts the start-up file name and search text into the
    // fields, replacing what the user had typed there.
    void ApplySettings();

    void Browse();
    // Loads the file afresh and searches it; a patch not saved yet is settled first.
    void Search();
    // Every way of leaving the window: the Exit button, the close box, Alt+F4, Escape. A patch
    // not saved yet is settled first; Cancel keeps the window open.
    void Exit();

    // A file chosen or dropped: its path (as the file system spells it) becomes the file name.
    void TakeFilePath(const std::string& nativePath);

    // The settings read last (with the file they came from, if any).
    const Settings& CurrentSettings() const { return settings_; }
    const std::string& ProgramPath() const { return programPath_; }
    // The program file's name without its extension, its first letter a capital: the title of
    // boxes without one.
    const std::string& ApplicationName() const { return applicationName_; }
    DesktopServices& Desktop() const { return desktop_; }

private:
    // Takes the fields' texts over. A text the field still shows as the program put it there is
    // the program's own, byte for byte. A text longer than kMaxFieldLength that the user typed
    // is reported, gets the focus and ends the reading (false). A file name the user typed or
    // pasted wholly inside one pair of double quotes (Explorer's "Copy as path") is taken
    // without them.
    bool ReadFields();
    void ShowFields();

    // A field's text as the commands use it, what the program last put into the field, and
    // what the field showed of that (a toolkit may show a name it cannot hold otherwise).
    struct FieldTexts {
        std::string taken;
        std::string put;
        std::string shown;
    };
    FieldTexts& Field(MainField field);
    void PutField(MainField field, std::string_view text);
    void ShowMessage(std::string_view title, std::string_view text);
    // Asks whether to save a patch not saved yet, and saves on Yes. False when the window is to
    // stay as it is: Cancel, No to overwriting a file that changed on disk, or a save that
    // failed (its message shown), with the patch still pending. `whatNoDoes`
    // ends the question's text: what No leads to.
    bool SettlePendingPatch(std::string_view whatNoDoes);
    void ShowPatchState();

    std::string programPath_;
    std::string applicationName_;
    FirmwareImage& image_;
    MainWindowView& view_;
    DesktopServices& desktop_;
    PatchConfirmer& confirmer_;
    Settings settings_;
    std::optional<std::string> startupFile_;
    FieldTexts fileName_;
    FieldTexts searchText_;
    std::string welcome_;
};

}  // namespace tavlo
