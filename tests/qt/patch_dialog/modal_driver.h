#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

#include "qt/patch_dialog.h"

namespace tavlo::test {

// Acts on each patch dialog as it runs modally (exec() does not return before it ends): the
// first dialog gets the first action, the next one the second, and so on. Should a dialog not
// show up, a watchdog ends whatever modal window runs, so no test hangs.
class ModalDriver {
public:
    using Action = std::function<void(PatchDialog&)>;

    explicit ModalDriver(Action action) : ModalDriver(std::vector<Action>{std::move(action)}) {}

    explicit ModalDriver(std::vector<Action> actions) : actions_(std::move(actions)) {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, [this] { ActOnRunningDialog(); });
        poll_.start();
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        watchdog_.start(10000);
    }

    int runs = 0;  // how many dialogs were found running and acted on

private:
    void ActOnRunningDialog() {
        auto* dialog = qobject_cast<PatchDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->property("driven").toBool() ||
            runs >= static_cast<int>(actions_.size())) {
            return;
        }
        dialog->setProperty("driven", true);
        actions_[static_cast<std::size_t>(runs++)](*dialog);
    }

    std::vector<Action> actions_;
    QTimer poll_;
    QTimer watchdog_;
};

}  // namespace tavlo::test
