#pragma once

#include <QPixmap>
#include <map>
#include <vector>

#include "workflow/dialog_template.h"

class QDialog;
class QWidget;

namespace tavlo {

// The widgets made from a dialog template, found by control id.
class DialogControls {
public:
    QWidget* Control(int id) const;

    template <typename Widget>
    Widget* Get(int id) const {
        return qobject_cast<Widget*>(Control(id));
    }

    // Every control, in the template's order.
    const std::vector<QWidget*>& InOrder() const { return inOrder_; }

private:
    friend DialogControls BuildDialog(QDialog&, const DialogTemplate&, const QPixmap&);
    std::map<int, QWidget*> byId_;
    std::vector<QWidget*> inOrder_;
};

// Fills `dialog` with the template's controls: the template's font (or the application's, for a
// template that asks for it), every position and size turned from dialog units into pixels with
// that font's metrics, the caption, a frame with a caption and a close box but no minimise or
// maximise box, of fixed size unless the template asks for a sizing frame, labels' mnemonics
// bound to the control after them or to their buddy, each label's column wide enough for its
// text on one line (FitLabelTexts), and the tab order of the template. `icon`
// fills the icon controls. Controls take the template's object names; a control with an id and
// no name becomes "control<id>".
DialogControls BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate,
                           const QPixmap& icon = QPixmap());

}  // namespace tavlo
