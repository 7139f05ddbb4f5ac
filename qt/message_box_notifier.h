#pragma once

#include "core/notifier.h"

namespace tavlo {

class UiServices;

// The core's failures as message boxes without an owner window ("Open for write failed" under
// the title "Tavlo", when the firmware file cannot be written).
class MessageBoxNotifier : public Notifier {
public:
    explicit MessageBoxNotifier(UiServices& ui) : ui_(ui) {}
    void ShowMessage(std::string_view title, std::string_view text) override;

private:
    UiServices& ui_;
};

}  // namespace tavlo
