#pragma once

#include "workflow/desktop_services.h"

class QWidget;

namespace tavlo {

// Message boxes, questions and the file-open dialog of the desktop, owned by the main window.
class QtDesktopServices : public DesktopServices {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    bool AskYesNo(std::string_view title, std::string_view text) override;
    bool AskYesNoDefaultNo(std::string_view title, std::string_view text) override;
    YesNoCancel AskYesNoCancel(std::string_view title, std::string_view text) override;
    std::optional<std::string> GetOpenFileName(std::string_view initialName,
                                               std::span<const FileFilter> filters,
                                               std::string_view defaultExtension) override;

private:
    QWidget* owner_ = nullptr;
};

}  // namespace tavlo
