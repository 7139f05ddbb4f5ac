#include "qt/clickable_icon.h"

#include <QMouseEvent>

namespace tavlo {

ClickableIcon::ClickableIcon(QWidget* parent) : QLabel(parent) {}

void ClickableIcon::mouseReleaseEvent(QMouseEvent* event) {
    // A click counts when the left button comes up over the icon, as for a push button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace tavlo
