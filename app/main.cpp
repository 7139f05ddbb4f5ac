// The desktop program: one window in which the firmware file is searched and patched.
#include <csignal>

#include "app/tavlo_app.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write should fail and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    tavlo::TavloApp app(argc, argv);
    app.InitInstance();
    return 0;  // nothing in the program sets an exit status
}
