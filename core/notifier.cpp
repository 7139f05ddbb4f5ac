#include "core/notifier.h"

#include <cstdio>

namespace tavlo {

namespace {

class StderrNotifierImpl : public Notifier {
public:
    void ShowMessage(std::string_view title, std::string_view text) override {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                     static_cast<int>(text.size()), text.data());
    }
};

}  // namespace

Notifier& StderrNotifier() {
    static StderrNotifierImpl notifier;
    return notifier;
}

}  // namespace tavlo
