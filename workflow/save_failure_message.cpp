#include "workflow/save_failure_message.h"

#include "core/windows1252.h"
#include "workflow/desktop_services.h"

namespace tavlo {

std::string SaveFailureText(const FileFailure& failure) {
    // The cause goes on its own line under the short summary, so the box says why.
    std::string text = failure.openForWriteFailed ? "Open for write failed\n" : "";
    text += failure.message;
    if (!failure.advice.empty()) {
        text += "\n" + failure.advice;
    }
    return text;
}

void ShowSaveFailure(DesktopServices& desktop, const FileFailure& failure) {
    desktop.ShowMessage(kSaveFailedTitle, Windows1252ToUtf8(SaveFailureText(failure)),
                        MessageIcon::None);
}

}  // namespace tavlo
