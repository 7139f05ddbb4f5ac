#pragma once

#include <QPixmap>
#include <map>
#include <vector>

#include "app/dialog_template.h"

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

// Fills `dialog` with the template's controls: the template's font, every position and size
// turned from dialog units into pixels with that font's metrics, the caption, a fixed size, a
// frame with a caption and a close box but no minimise or maximise box, labels' mnemonics bound
// to the control after them, and the tab order of the template. `icon` fills the icon controls.
// Control ids become object names "control<id>".
DialogControls BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate,
                           const QPixmap& icon);

}  // namespace tavlo
