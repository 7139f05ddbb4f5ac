#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavlo {

enum class MessageIcon { None, Exclamation };

// The answer to a question with the buttons Yes, No and Cancel.
enum class YesNoCancel { Yes, No, Cancel };

// One entry of a file dialog's filter list: what the user reads and the patterns it shows.
struct FileFilter {
    const char* description;  // "Firmware files (*.rgn)"
    const char* patterns;     // "*.rgn"
};

// How the main window's flows reach the desktop: message boxes and questions over the window,
// and the file-open dialog. Each front-end shows real ones; the tests answer them. Titles and
// texts are UTF-8 with "\n" line breaks: a file name in a message shows in whatever script it
// is written.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // A message with an OK button, modal over the window.
    virtual void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) = 0;

    // A question with the buttons Yes and No; true for Yes. Yes is the default button.
    virtual bool AskYesNo(std::string_view title, std::string_view text) = 0;

    // The same with No as the default button, for a Yes that cannot be undone.
    virtual bool AskYesNoDefaultNo(std::string_view title, std::string_view text) = 0;

    // A question with the buttons Yes, No and Cancel; Yes is the default button, and Escape or
    // the box's close button answer Cancel.
    virtual YesNoCancel AskYesNoCancel(std::string_view title, std::string_view text) = 0;

    // The file-open dialog: an existing file, starting at `initialName` (the file-name field's
    // name), with the filters (the first one selected) and the extension added to a name typed
    // without one. The chosen file's path as the file system spells it (UTF-8), or nothing when
    // the user cancels.
    virtual std::optional<std::string> GetOpenFileName(std::string_view initialName,
                                                       std::span<const FileFilter> filters,
                                                       std::string_view defaultExtension) = 0;
};

}  // namespace tavlo
