#pragma once

#include <QApplication>
#include <optional>
#include <string>

namespace tavlo {

// The application object: the one QApplication of the process. It interprets no options of its
// own; argument zero, the program's path, locates the settings file, and a file given as the
// one further argument (as a file manager opens a firmware file) fills the file-name field.
class TavloApp : public QApplication {
    Q_OBJECT
public:
    TavloApp(int& argc, char** argv);

    // The whole run with the desktop's message boxes, file dialog and patch dialog. Returns
    // false: there is no loop of the application's own to enter afterwards.
    bool InitInstance();

private:
    std::string programPath_;
    std::optional<std::string> startupFile_;  // the one argument, a file to open
};

}  // namespace tavlo
