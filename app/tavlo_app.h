#pragma once

#include <QApplication>
#include <string>

namespace tavlo {

class Notifier;
class PatchConfirmer;
class UiServices;

// One run of the program: the main dialog over a fresh, empty firmware image, run modally as
// the program's only loop; then the settings store is emptied, the image released and the dialog
// destroyed, in that order. Nothing is saved here: only the Exit command asks to save.
void RunMainDialog(const std::string& programPath, UiServices& ui, PatchConfirmer& confirmer,
                   Notifier& notifier);

// The application object: the one QApplication of the process. It interprets no options of its
// own; argument zero, the program's path, locates the settings file.
class TavloApp : public QApplication {
    Q_OBJECT
public:
    TavloApp(int& argc, char** argv);

    // The whole run with the desktop's message boxes, file dialog and patch dialog. Returns
    // false: there is no loop of the application's own to enter afterwards.
    bool InitInstance();

private:
    std::string programPath_;
};

}  // namespace tavlo
