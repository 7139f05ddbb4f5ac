#pragma once

#include "qt/ui_services.h"

namespace tavlo {

// The real message boxes and file dialog of the desktop.
class QtUiServices : public UiServices {
public:
    void ShowMessage(QWidget* owner, std::string_view title, std::string_view text,
                     MessageIcon icon) override;
    bool AskYesNo(QWidget* owner, std::string_view title, std::string_view text) override;
    bool AskYesNoDefaultNo(QWidget* owner, std::string_view title, std::string_view text) override;
    YesNoCancel AskYesNoCancel(QWidget* owner, std::string_view title,
                               std::string_view text) override;
    std::optional<QString> GetOpenFileName(QWidget* owner, const QString& initialName,
                                           const std::vector<FileFilter>& filters,
                                           const QString& defaultExtension) override;
};

}  // namespace tavlo
