#include "workflow/main_window_keys.h"

#include "workflow/help_flow.h"

namespace tavlo {

namespace {

// No letter here may be a mnemonic of the main dialog: Alt with it presses that control.
constexpr CommandKey kKeys[] = {
    {1, 0, WindowCommand::ViewHelp},
    {0, 'A', WindowCommand::About},
};

}  // namespace

std::span<const CommandKey> MainWindowKeys() {
    return kKeys;
}

std::string KeyName(const CommandKey& key) {
    return key.functionKey > 0 ? "F" + std::to_string(key.functionKey)
                               : std::string("Alt+") + key.altLetter;
}

std::string KeyNameOf(WindowCommand command) {
    for (const CommandKey& key : kKeys) {
        if (key.command == command) {
            return KeyName(key);
        }
    }
    return {};
}

void RunWindowCommand(WindowCommand command, DesktopServices& desktop, DesktopPrograms& programs,
                      const std::function<void()>& showAbout) {
    switch (command) {
        case WindowCommand::ViewHelp:
            ViewHelp(desktop, programs);
            return;
        case WindowCommand::About:
            showAbout();
            return;
    }
}

}  // namespace tavlo
