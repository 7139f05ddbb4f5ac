#pragma once

namespace tavlo {

class DesktopPrograms;
class MainWindowFlow;

// The Edit settings command: offers to create the settings file from the default copy carried
// in the program when none was read, opens the file in the user's editor without waiting for
// it, holds the window with a message until the user has finished, then reads the settings
// again. A settings file that cannot be created is one message, and no editor is started.
void EditSettings(MainWindowFlow& window, DesktopPrograms& programs);

}  // namespace tavlo
