// Shows the patch dialog as the patch step would, over a firmware image made up for the purpose
// whose receiver font is drawn from a small screen font. For screenshots:
//   patch_dialog_demo [--over-limit]
// "--over-limit" types past the message's length, so counter and preview turn red.
#include <QApplication>
#include <QPlainTextEdit>
#include <cstdio>
#include <cstring>

#include "core/firmware_image.h"
#include "qt/patch_dialog.h"
#include "settings/settings_file.h"
#include "support/qt/test_firmware.h"
#include "workflow/patch_dialog_flow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool overLimit = argc > 1 && std::strcmp(argv[1], "--over-limit") == 0;

    const std::string message =
        "WARNING\nThis receiver is a navigation aid only.\nDo not rely on it as your only "
        "source of position.\nPress ENTER to continue.";
    tavlo::test::LoadedFirmware firmware(
        tavlo::test::FirmwareBytes(message, true, tavlo::test::RasterGlyph));
    if (!firmware.loaded || !firmware.fontFound) {
        std::fprintf(stderr, "could not build the sample firmware\n");
        return 1;
    }

    firmware.image.LocateMessage("WARNING");
    tavlo::PatchRequest request =
        tavlo::BuildPatchRequest(firmware.image, tavlo::Settings(), "Patch", &firmware.font);
    tavlo::PatchDialog dialog;
    tavlo::PatchDialogFlow flow(request, dialog);
    dialog.SetFlow(flow);
    dialog.move(20, 20);
    dialog.show();
    if (overLimit) {
        auto* edit = dialog.findChild<QPlainTextEdit*>(QStringLiteral("newText"));
        edit->moveCursor(QTextCursor::End);
        edit->insertPlainText(QStringLiteral("\nReward \u20AC50 for its return!"));
    }
    dialog.exec();
    std::printf("answer %d\n", static_cast<int>(flow.Result()));
    return 0;
}
