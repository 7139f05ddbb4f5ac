#pragma once

#include <string>

namespace tavlo {

class MainDialog;
class ProgramStarter;
class UiServices;

// The program the Edit settings command runs for.
struct SettingsEditorContext {
    MainDialog& dialog;           // its settings path and ApplySettings; owns the messages
    std::string programPath;      // argument zero: the settings file lies beside it
    std::string applicationName;  // the title of the box that waits for the user
    UiServices& ui;
    ProgramStarter& starter;
};

// The Edit settings command: offers to create the settings file from the default copy carried
// in the program when none was read (a file that cannot be created is a message with its path
// and the cause, and no editor is started), opens the file in the user's editor without waiting
// for it, holds the dialog with a message box until the user has finished, then reads the
// settings again.
void EditSettings(const SettingsEditorContext& context);

}  // namespace tavlo
