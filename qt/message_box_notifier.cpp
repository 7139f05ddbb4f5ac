#include "qt/message_box_notifier.h"

#include "qt/ui_services.h"

namespace tavlo {

void MessageBoxNotifier::ShowMessage(std::string_view title, std::string_view text) {
    ui_.ShowMessage(nullptr, title, text, MessageIcon::None);
}

}  // namespace tavlo
