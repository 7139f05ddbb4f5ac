#include "qt/run_main_dialog.h"

#include <memory>

#include "core/firmware_image.h"
#include "qt/main_dialog.h"
#include "settings/settings_file.h"

namespace tavlo {

void RunMainDialog(const std::string& programPath, UiServices& ui, PatchConfirmer& confirmer,
                   const std::optional<std::string>& startupFile) {
    auto dialog = std::make_unique<MainDialog>(programPath, ui, confirmer);
    dialog->SetStartupFile(startupFile);
    auto image = std::make_unique<FirmwareImage>();
    dialog->SetImage(image.get());
    dialog->exec();  // Exit, Escape and the close box all end here; the result is not used
    FreeConfig();
    image.reset();
    dialog.reset();
}

}  // namespace tavlo
