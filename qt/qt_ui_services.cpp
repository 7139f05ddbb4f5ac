#include "qt/qt_ui_services.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "qt/text_boundary.h"

namespace tavlo {

void QtUiServices::ShowMessage(QWidget* owner, std::string_view title, std::string_view text,
                               MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    FromWindows1252(title), FromWindows1252(text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

namespace {

bool Ask(QWidget* owner, std::string_view title, std::string_view text,
         QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, FromWindows1252(title), FromWindows1252(text),
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool QtUiServices::AskYesNo(QWidget* owner, std::string_view title, std::string_view text) {
    return Ask(owner, title, text, QMessageBox::Yes);
}

bool QtUiServices::AskYesNoDefaultNo(QWidget* owner, std::string_view title,
                                     std::string_view text) {
    return Ask(owner, title, text, QMessageBox::No);
}

YesNoCancel QtUiServices::AskYesNoCancel(QWidget* owner, std::string_view title,
                                         std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, FromWindows1252(title), FromWindows1252(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return YesNoCancel::Yes;
        case QMessageBox::No:
            return YesNoCancel::No;
        default:
            return YesNoCancel::Cancel;
    }
}

std::optional<QString> QtUiServices::GetOpenFileName(QWidget* owner, const QString& initialName,
                                                     const std::vector<FileFilter>& filters,
                                                     const QString& defaultExtension) {
    QFileDialog dialog(owner, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultExtension);
    QStringList nameFilters;
    for (const FileFilter& filter : filters) {
        // Qt reads the patterns from the parentheses at the end of the text it shows.
        const QString description = QString::fromLatin1(filter.description);
        const QString shown = QStringLiteral("(") + QString::fromLatin1(filter.patterns) + u')';
        nameFilters << (description.endsWith(shown) ? description : description + u' ' + shown);
    }
    dialog.setNameFilters(nameFilters);
    if (!nameFilters.isEmpty()) {
        dialog.selectNameFilter(nameFilters.first());
    }
    if (!initialName.isEmpty()) {
        dialog.selectFile(initialName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

}  // namespace tavlo
