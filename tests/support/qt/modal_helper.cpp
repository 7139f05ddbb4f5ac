#include "support/qt/modal_helper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace tavlo::test {

void WhenModalOpens(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    auto* waited = new int(0);
    // The window open now (when an action registers the next one) is not the one awaited.
    const QPointer<QWidget> openNow = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, action, openNow] {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || !window->isVisible() || window == openNow) {
            if (++*waited > 500) {
                poll->stop();
                poll->deleteLater();
                delete waited;
                QTest::qFail("no modal window opened", __FILE__, __LINE__);
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        delete waited;
        action(window);
    });
    poll->start(10);
}

void PressButton(QWidget* window, const char* text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == QString::fromUtf8(text)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QTest::qFail("the window has no such button", __FILE__, __LINE__);
}

}  // namespace tavlo::test
