#pragma once

#include <QDialog>
#include <string>

#include "qt/dialog_builder.h"

namespace tavlo {

// The About box: the program icon, "Tavlo Version " and the product version, the notice, OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);

    std::string m_versionText;  // shown in control 1013

private:
    DialogControls controls_;
};

}  // namespace tavlo
