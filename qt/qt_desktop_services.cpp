#include "qt/qt_desktop_services.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "qt/text_boundary.h"

namespace tavlo {

namespace {

// The boxes' texts are UTF-8.
QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A box of plain text (never markup) with these buttons, `defaultButton` pressed by Enter;
// Escape and the close box press `escapeButton`.
QMessageBox::StandardButton Ask(QWidget* owner, std::string_view title, std::string_view text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton,
                                QMessageBox::StandardButton escapeButton) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), buttons, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// Qt reads a filter's patterns from the parentheses at the end of the text it shows.
QStringList NameFilters(std::span<const FileFilter> filters) {
    QStringList names;
    for (const FileFilter& filter : filters) {
        const QString description = QString::fromLatin1(filter.description);
        const QString shown = QStringLiteral("(") + QString::fromLatin1(filter.patterns) + u')';
        names << (description.endsWith(shown) ? description : description + u' ' + shown);
    }
    return names;
}

}  // namespace

void QtDesktopServices::ShowMessage(std::string_view title, std::string_view text,
                                    MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    FromUtf8(title), FromUtf8(text), QMessageBox::Ok, owner_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDesktopServices::AskYesNo(std::string_view title, std::string_view text) {
    return Ask(owner_, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
               QMessageBox::No) == QMessageBox::Yes;
}

bool QtDesktopServices::AskYesNoDefaultNo(std::string_view title, std::string_view text) {
    return Ask(owner_, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}

YesNoCancel QtDesktopServices::AskYesNoCancel(std::string_view title, std::string_view text) {
    switch (Ask(owner_, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                QMessageBox::Yes, QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return YesNoCancel::Yes;
        case QMessageBox::No:
            return YesNoCancel::No;
        default:
            return YesNoCancel::Cancel;
    }
}

std::optional<std::string> QtDesktopServices::GetOpenFileName(std::string_view initialName,
                                                              std::span<const FileFilter> filters,
                                                              std::string_view defaultExtension) {
    QFileDialog dialog(owner_, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(FromUtf8(defaultExtension));
    const QStringList nameFilters = NameFilters(filters);
    dialog.setNameFilters(nameFilters);
    if (!nameFilters.isEmpty()) {
        dialog.selectNameFilter(nameFilters.first());
    }
    if (!initialName.empty()) {
        dialog.selectFile(FromFileName(initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToFileName(dialog.selectedFiles().first());
}

}  // namespace tavlo
