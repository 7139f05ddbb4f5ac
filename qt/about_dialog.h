#pragma once

#include <QDialog>

#include "qt/dialog_builder.h"

namespace tavlo {

// The About box: the program icon, "Tavlo Version " and the product version, the notice, OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);

private:
    DialogControls controls_;
};

}  // namespace tavlo
