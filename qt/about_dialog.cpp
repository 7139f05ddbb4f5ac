#include "qt/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "core/version_info.h"
#include "qt/program_icon.h"
#include "qt/text_boundary.h"
#include "workflow/about_dialog_template.h"

namespace tavlo {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), controls_(BuildDialog(*this, kAboutDialogTemplate, ProgramIcon())) {
    m_versionText = "Tavlo Version " + GetProductVersion();
    controls_.Get<QLabel>(kIdVersionText)->setText(FromWindows1252(m_versionText));
    connect(controls_.Get<QPushButton>(kIdAboutOk), &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tavlo
