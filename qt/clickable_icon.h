#pragma once

#include <QLabel>

namespace tavlo {

// A picture control that reports a click, as the main dialog's icon does (it opens the About
// box).
class ClickableIcon : public QLabel {
    Q_OBJECT
public:
    explicit ClickableIcon(QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tavlo
