#include "app/tavlo_app.h"

#include "qt/patch_confirmer.h"
#include "qt/qt_ui_services.h"
#include "qt/run_main_dialog.h"

namespace tavlo {

TavloApp::TavloApp(int& argc, char** argv)
    : QApplication(argc, argv),
      programPath_(argc > 0 ? argv[0] : "tavlo"),
      // A file manager opens a firmware file as the one argument; anything else is ignored.
      startupFile_(argc == 2 ? std::optional<std::string>(argv[1]) : std::nullopt) {}

bool TavloApp::InitInstance() {
    QtUiServices ui;
    // The patch dialog has no parent window, as the patch step makes it; Qt runs it modal over
    // the whole application.
    DialogPatchConfirmer confirmer;
    RunMainDialog(programPath_, ui, confirmer, startupFile_);
    return false;
}

}  // namespace tavlo
