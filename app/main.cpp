// The desktop program: one window in which the firmware file is searched and patched.
#include "app/tavlo_app.h"

int main(int argc, char** argv) {
    tavlo::TavloApp app(argc, argv);
    app.InitInstance();
    return 0;  // nothing in the program sets an exit status
}
