#include "app/tavlo_app.h"

#include <memory>

#include "app/main_dialog.h"
#include "app/message_box_notifier.h"
#include "app/qt_ui_services.h"
#include "core/firmware_image.h"
#include "preview/patch_confirmer.h"
#include "settings/settings_file.h"

namespace tavlo {

void RunMainDialog(const std::string& programPath, UiServices& ui, PatchConfirmer& confirmer,
                   Notifier& notifier) {
    auto dialog = std::make_unique<MainDialog>(programPath, ui, confirmer);
    auto image = std::make_unique<FirmwareImage>(notifier);
    dialog->m_image = image.get();
    dialog->exec();  // Exit, Escape and the close box all end here; the result is not used
    FreeConfig();
    image.reset();
    dialog.reset();
}

TavloApp::TavloApp(int& argc, char** argv)
    : QApplication(argc, argv), programPath_(argc > 0 ? argv[0] : "tavlo") {}

bool TavloApp::InitInstance() {
    QtUiServices ui;
    MessageBoxNotifier notifier(ui);
    // The patch dialog has no parent window, as the patch step makes it; Qt runs it modal over
    // the whole application.
    DialogPatchConfirmer confirmer;
    RunMainDialog(programPath_, ui, confirmer, notifier);
    return false;
}

}  // namespace tavlo
