#include "qt/qt_desktop_services.h"

#include <QFile>
#include <vector>

#include "qt/text_boundary.h"
#include "qt/ui_services.h"

namespace tavlo {

void QtDesktopServices::ShowMessage(std::string_view title, std::string_view text,
                                    MessageIcon icon) {
    ui_.ShowMessage(owner_, title, text, icon);
}

bool QtDesktopServices::AskYesNo(std::string_view title, std::string_view text) {
    return ui_.AskYesNo(owner_, title, text);
}

bool QtDesktopServices::AskYesNoDefaultNo(std::string_view title, std::string_view text) {
    return ui_.AskYesNoDefaultNo(owner_, title, text);
}

YesNoCancel QtDesktopServices::AskYesNoCancel(std::string_view title, std::string_view text) {
    return ui_.AskYesNoCancel(owner_, title, text);
}

std::optional<std::string> QtDesktopServices::GetOpenFileName(std::string_view initialName,
                                                              std::span<const FileFilter> filters,
                                                              std::string_view defaultExtension) {
    const std::optional<QString> chosen =
        ui_.GetOpenFileName(owner_, FromWindows1252(initialName),
                            std::vector<FileFilter>(filters.begin(), filters.end()),
                            QString::fromLatin1(defaultExtension.data(),
                                                static_cast<qsizetype>(defaultExtension.size())));
    if (!chosen) {
        return std::nullopt;
    }
    return QFile::encodeName(*chosen).toStdString();
}

}  // namespace tavlo
