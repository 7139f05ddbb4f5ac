#pragma once

#include <functional>
#include <span>
#include <string>

// The main window's keys beyond the mnemonics of its buttons, one description for both windows:
// F1 opens the help, as in every program, and Alt+A the About box. Each window turns them into
// its toolkit's keys and runs their commands as its buttons and its icon do.
namespace tavlo {

class DesktopServices;
class DesktopPrograms;

enum class WindowCommand { ViewHelp, About };

// A key that runs a command: a function key (functionKey 1 for F1) or a letter pressed with Alt
// (altLetter 'A'), one of the two.
struct CommandKey {
    int functionKey;
    char altLetter;
    WindowCommand command;
};

std::span<const CommandKey> MainWindowKeys();

// The key as the windows write it in tool tips, "F1" or "Alt+A"; Qt reads the same text as a
// key sequence.
std::string KeyName(const CommandKey& key);
// The name of the key that runs `command`.
std::string KeyNameOf(WindowCommand command);

// Runs a key's command: the help through the desktop, the About box through the window's own
// `showAbout`.
void RunWindowCommand(WindowCommand command, DesktopServices& desktop, DesktopPrograms& programs,
                      const std::function<void()>& showAbout);

}  // namespace tavlo
