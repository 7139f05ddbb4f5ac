#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/about_dialog_template.h"
#include "app/program_icon.h"
#include "app/text_boundary.h"
#include "app/version_info.h"

namespace tavlo {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), controls_(BuildDialog(*this, kAboutDialogTemplate, ProgramIcon())) {
    m_versionText = "Tavlo Version " + GetProductVersion();
    controls_.Get<QLabel>(kIdVersionText)->setText(FromWindows1252(m_versionText));
    connect(controls_.Get<QPushButton>(kIdAboutOk), &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tavlo
