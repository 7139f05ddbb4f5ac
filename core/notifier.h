#pragma once

#include <string_view>

namespace tavlo {

// Where the core reports a failure to the user: a message box in the desktop program, standard
// error in tavlo-cli, a recorder in the tests. Texts are Windows-1252.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void ShowMessage(std::string_view title, std::string_view text) = 0;
};

// Writes "title: text" to standard error. The default for a FirmwareImage without a notifier.
Notifier& StderrNotifier();

}  // namespace tavlo
