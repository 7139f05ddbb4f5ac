#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

#include "preview/patch_dialog.h"

namespace tavlo::test {

// Acts on the patch dialog once it runs modally (exec() does not return before it ends). Should
// no patch dialog show up, a watchdog ends whatever modal window runs, so no test hangs.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(PatchDialog&)> interact) {
        QTimer::singleShot(0, &watchdog_, [this, interact] {
            if (auto* dialog = qobject_cast<PatchDialog*>(QApplication::activeModalWidget())) {
                ++runs;
                interact(*dialog);
            }
        });
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        watchdog_.start(10000);
    }

    int runs = 0;  // how often the dialog was found running

private:
    QTimer watchdog_;
};

}  // namespace tavlo::test
