#pragma once

#include <QApplication>
#include <string>

namespace tavlo {

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
