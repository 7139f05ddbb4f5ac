#include "workflow/main_window_flow.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "core/file_names.h"
#include "core/firmware_image.h"
#include "core/message_format.h"
#include "core/version_info.h"
#include "core/windows1252.h"
#include "settings/settings_keys.h"
#include "workflow/desktop_services.h"
#include "workflow/save_failure_message.h"
#include "workflow/search_loop.h"

namespace tavlo {

namespace {

constexpr const char* kTooLongText = "Please enter no more than 128 characters.";

constexpr const char* kLoadFailedTitle = "Tavlo : Could not load file to patch";
constexpr const char* kLoadFailedText =
    "The specified file '%1' could not be opened.\n\nPlease verify that the file exists.\n"
    "Use the [Browse ...] button to browse for files.";

constexpr const char* kNothingTitle = "Tavlo : Nothing to search for";
constexpr const char* kNothingText =
    "Please enter the start of the message you\nwant to patch into the 'search for' field.\n\n"
    "You left this field empty - Tavlo needs to\nknow what to search for.\n\n"
    "(Example: 'WARNING')\n";

constexpr const char* kNotFoundTitle = "Tavlo : Search text not found";
constexpr const char* kNotFoundText =
    "The text to be patched could not be found.\n\n"
    "Note that the search string is case sensitive.\n\n"
    "Make sure it is spelled correctly and that you\n"
    "got the right firmware file - in a file that has\n"
    "already been patched, the original text will not\n"
    "be found any more !";

constexpr const char* kSaveTitle = "Tavlo : Save changes ?";
// %2 is the question's last line, by the command that asks it: what No leads to.
constexpr const char* kSaveText =
    "The firmware file in memory has been patched successfully.\n"
    "If you click YES, your changes will be saved to the file \n'%1'\n\n"
    "A backup of this file is created with a .BAK extension.\n\n%2";
constexpr const char* kSaveNoOnExit = "Select NO to exit without saving your changes.";
constexpr const char* kSaveNoOnSearch =
    "Select NO to search the file on disk again without saving your changes.";

// Asked when the file on disk is no longer the one Search read (another program changed or
// replaced it); No is the default.
constexpr const char* kChangedTitle = "Tavlo : File changed on disk";
constexpr const char* kChangedText =
    "The file\n'%1'\nhas been changed or replaced on disk since Tavlo read it.\n\n"
    "If you click YES, it is overwritten with the patched firmware;\n"
    "what is on disk now is kept as the backup with a .BAK extension.\n\n"
    "Select NO to leave the file as it is. The patched firmware stays\n"
    "in memory: Exit asks again.";

constexpr const char* kWelcomeText = "Welcome to Tavlo, the firmware patch program (Version %1)";
constexpr const char* kAboutVersionText = "Tavlo Version %1";

constexpr FileFilter kFirmwareFilters[] = {
    {"Firmware files (*.rgn)", "*.rgn"},
    {"All files (*.*)", "*.*"},
};

// The program file's name without its extension, with a capital first letter: a box is never
// titled in lower case ("tavlo" is titled "Tavlo"). A title is UTF-8, as every text of a box.
std::string ApplicationNameOf(const std::string& programPath) {
    std::string name = PathForMessageBox(NativePathOf(FileSystemPath(programPath).stem()));
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') {
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    }
    return name;
}

// How long a field's text is as the toolkits count it: the file name in UTF-16 units (a byte
// that is not UTF-8 counts as one), the search text in bytes, one a character.
std::size_t FieldLength(MainField field, std::string_view text) {
    if (field == MainField::SearchText) {
        return text.size();
    }
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(text, i, cp)) {
            ++i;
        }
        units += cp >= 0x10000 ? 2 : 1;
    }
    return units;
}

// A name wholly inside one pair of double quotes, as Explorer's "Copy as path" gives it, without
// them; any other text as it is.
std::string WithoutQuotes(const std::string& name) {
    if (name.size() >= 2 && name.front() == '"' && name.find('"', 1) == name.size() - 1) {
        return name.substr(1, name.size() - 2);
    }
    return name;
}

// The five search words, each once, in byte order: the list is sorted.
std::vector<std::string> SortedSearchWords() {
    std::vector<std::string> words(std::begin(kSearchWords), std::end(kSearchWords));
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
}

}  // namespace

std::string AboutVersionText() {
    return FormatMessage(kAboutVersionText, {GetProductVersion()});
}

MainWindowFlow::MainWindowFlow(std::string programPath, FirmwareImage& image, MainWindowView& view,
                               DesktopServices& desktop, PatchConfirmer& confirmer)
    : programPath_(std::move(programPath)),
      applicationName_(ApplicationNameOf(programPath_)),
      image_(image),
      view_(view),
      desktop_(desktop),
      confirmer_(confirmer) {}

void MainWindowFlow::Start() {
    ApplySettings();
    if (startupFile_) {
        TakeFilePath(*startupFile_);
    }
    welcome_ = FormatMessage(kWelcomeText, {GetProductVersion()});
    ShowFields();
}

void MainWindowFlow::ApplySettings() {
    settings_ = LoadConfig(programPath_);
    if (image_.IsModified()) {
        // The field keeps naming the file the pending patch belongs to: the one Exit saves.
        fileName_.taken = image_.FileName();
    } else {
        std::string fileName = settings_.FilePattern();
        if (std::optional<std::string> match = FirstMatchingFile(fileName)) {
            fileName = std::move(*match);
        }
        fileName_.taken = std::move(fileName);
    }
    searchText_.taken = settings_.SearchText();
    view_.SetSearchWords(SortedSearchWords());
    ShowFields();
}

MainWindowFlow::FieldTexts& MainWindowFlow::Field(MainField field) {
    switch (field) {
        case MainField::FileName:
            return fileName_;
        case MainField::SearchText:
            return searchText_;
    }
    return fileName_;  // not reached: every field is named above
}

bool MainWindowFlow::ReadFields() {
    // A text is taken over before it is checked: the command that read it goes on with it.
    for (const MainField field : {MainField::FileName, MainField::SearchText}) {
        FieldTexts& texts = Field(field);
        const std::string shown = view_.FieldText(field);
        if (shown == texts.shown) {
            // Untouched since the program put it there (a path from the start, Browse or a
            // drop): the user's file as the file system spells it, whatever the field made of a
            // name it cannot hold (a Linux name that is not UTF-8) and however long it is.
            texts.taken = texts.put;
            continue;
        }
        texts.taken = field == MainField::FileName ? WithoutQuotes(shown) : shown;
        // Typing stops at the limit: a longer text is a slip of the keyboard.
        if (FieldLength(field, shown) > kMaxFieldLength) {
            desktop_.ShowMessage(applicationName_, kTooLongText, MessageIcon::Exclamation);
            view_.FocusField(field);
            return false;
        }
    }
    return true;
}

void MainWindowFlow::PutField(MainField field, std::string_view text) {
    FieldTexts& texts = Field(field);
    texts.put = text;
    view_.SetFieldText(field, text);
    texts.shown = view_.FieldText(field);
}

void MainWindowFlow::ShowFields() {
    PutField(MainField::FileName, fileName_.taken);
    PutField(MainField::SearchText, searchText_.taken);
    view_.SetWelcome(welcome_);
}

void MainWindowFlow::ShowMessage(std::string_view title, std::string_view text) {
    desktop_.ShowMessage(title, text, MessageIcon::None);
}

void MainWindowFlow::TakeFilePath(const std::string& nativePath) {
    fileName_.taken = nativePath;
    // Only the file-name field changes: what the user typed elsewhere stays.
    PutField(MainField::FileName, fileName_.taken);
}

void MainWindowFlow::Browse() {
    ReadFields();
    if (const std::optional<std::string> chosen =
            desktop_.GetOpenFileName(fileName_.taken, kFirmwareFilters, "rgn")) {
        TakeFilePath(*chosen);
    }
}

void MainWindowFlow::Search() {
    ReadFields();
    // Every search starts from the file as it is on disk: a patch not saved yet is saved or
    // dropped as the user says first.
    if (!SettlePendingPatch(kSaveNoOnSearch)) {
        return;
    }
    if (!image_.Load(fileName_.taken)) {
        ShowMessage(kLoadFailedTitle,
                    FormatMessage(kLoadFailedText, {PathForMessageBox(fileName_.taken)}));
        return;
    }
    ShowPatchState();  // a fresh copy: nothing pending
    if (searchText_.taken.empty()) {
        ShowMessage(kNothingTitle, kNothingText);
        return;
    }
    // An accepted patch, or Cancel, ends the command; only Find Next goes on.
    const bool reached = RunSearch(image_, searchText_.taken, settings_, confirmer_).reached;
    ShowPatchState();
    if (!reached) {
        ShowMessage(kNotFoundTitle, kNotFoundText);
    }
}

void MainWindowFlow::ShowPatchState() {
    view_.ShowPatchPending(image_.IsModified());
}

bool MainWindowFlow::SettlePendingPatch(std::string_view whatNoDoes) {
    if (!image_.IsModified()) {
        return true;
    }
    const std::string fileName = PathForMessageBox(image_.FileName());
    const std::string question = FormatMessage(kSaveText, {fileName, whatNoDoes});
    switch (desktop_.AskYesNoCancel(kSaveTitle, question)) {
        case YesNoCancel::Cancel:
            return false;
        case YesNoCancel::No:
            return true;
        case YesNoCancel::Yes:
            break;
    }
    SaveOutcome saved = image_.Save(true, IfFileChanged::Keep);
    if (saved == SaveOutcome::FileChanged) {
        // Someone else's change is overwritten only when the user says so; No keeps the patch in
        // memory and the window as it is.
        if (!desktop_.AskYesNoDefaultNo(kChangedTitle, FormatMessage(kChangedText, {fileName}))) {
            return false;
        }
        saved = image_.Save(true, IfFileChanged::Overwrite);
    }
    ShowPatchState();
    // A failed save keeps the window and the patch, so the user can free the file and try again.
    if (saved != SaveOutcome::Saved) {
        ShowSaveFailure(desktop_, image_.LastFailure());
        return false;
    }
    return true;
}

void MainWindowFlow::Exit() {
    if (SettlePendingPatch(kSaveNoOnExit)) {
        view_.Close();
    }
}

}  // namespace tavlo
