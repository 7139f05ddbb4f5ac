#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

#include "workflow/desktop_services.h"

class QWidget;

namespace tavlo {

// How the main dialog reaches the desktop: message boxes, the Yes/No question and the file-open
// dialog. The desktop program shows real ones (QtUiServices); the tests answer them. Titles and
// texts are Windows-1252 with "\n" line breaks; file names are the toolkit's (Unicode) paths.
class UiServices {
public:
    virtual ~UiServices() = default;

    // A message with an OK button, modal over `owner` (none: no owner window).
    virtual void ShowMessage(QWidget* owner, std::string_view title, std::string_view text,
                             MessageIcon icon) = 0;

    // A question with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* owner, std::string_view title, std::string_view text) = 0;

    // The same with No as the default button, for a Yes that cannot be undone. Answered like
    // any other question unless the desktop's boxes are shown.
    virtual bool AskYesNoDefaultNo(QWidget* owner, std::string_view title, std::string_view text) {
        return AskYesNo(owner, title, text);
    }

    // A question with the buttons Yes, No and Cancel (also Escape and the close box); Yes is
    // the default. Answered Yes or No like any other question unless the desktop's boxes are
    // shown or the answerer can cancel.
    virtual YesNoCancel AskYesNoCancel(QWidget* owner, std::string_view title,
                                       std::string_view text) {
        return AskYesNo(owner, title, text) ? YesNoCancel::Yes : YesNoCancel::No;
    }

    // The file-open dialog: an existing file, starting at `initialName`, with the filters (the
    // first one selected) and the extension added to a name typed without one. The chosen
    // file's full path, or nothing when the user cancels.
    virtual std::optional<QString> GetOpenFileName(QWidget* owner, const QString& initialName,
                                                   const std::vector<FileFilter>& filters,
                                                   const QString& defaultExtension) = 0;
};

}  // namespace tavlo
