#include "qt/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "qt/program_icon.h"
#include "qt/text_boundary.h"
#include "workflow/about_dialog_template.h"
#include "workflow/main_window_flow.h"

namespace tavlo {

namespace tpl = about_dialog_template;

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), controls_(BuildDialog(*this, tpl::kTemplate, ProgramIcon())) {
    controls_.Get<QLabel>(tpl::kVersionText)->setText(FromWindows1252(AboutVersionText()));
    connect(controls_.Get<QPushButton>(tpl::kOk), &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tavlo
