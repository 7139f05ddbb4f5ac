#include "qt/run_main_dialog.h"

#include <memory>

#include "core/firmware_image.h"
#include "qt/linux/desktop_programs.h"
#include "qt/main_dialog.h"
#include "qt/qt_desktop_services.h"

namespace tavlo {

void RunMainDialog(const std::string& programPath, const std::optional<std::string>& startupFile) {
    QtDesktopServices desktop;
    LinuxDesktopPrograms programs;
    auto image = std::make_unique<FirmwareImage>();
    auto dialog = std::make_unique<MainDialog>(programPath, *image, desktop, programs);
    dialog->SetStartupFile(startupFile);
    dialog->exec();  // Exit, Escape and the close box all end here; the result is not used
    image.reset();
    dialog.reset();
}

}  // namespace tavlo
