#pragma once

#include "workflow/desktop_services.h"

class QWidget;

namespace tavlo {

class UiServices;

// The desktop services of one window: every box and dialog goes through the toolkit's services
// (the real ones, or the tests'), owned by that window.
class QtDesktopServices : public DesktopServices {
public:
    QtDesktopServices(UiServices& ui, QWidget* owner) : ui_(ui), owner_(owner) {}

    void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    bool AskYesNo(std::string_view title, std::string_view text) override;
    bool AskYesNoDefaultNo(std::string_view title, std::string_view text) override;
    YesNoCancel AskYesNoCancel(std::string_view title, std::string_view text) override;
    std::optional<std::string> GetOpenFileName(std::string_view initialName,
                                               std::span<const FileFilter> filters,
                                               std::string_view defaultExtension) override;

private:
    UiServices& ui_;
    QWidget* owner_;
};

}  // namespace tavlo
