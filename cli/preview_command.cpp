#include <QImage>
#include <QPainter>
#include <string>

#include "cli/cli_context.h"
#include "cli/nth_match.h"
#include "core/firmware_image.h"
#include "preview/screen_preview.h"

namespace tavlo::cli {

namespace {

// The screen picture's size in its own pixels.
constexpr int kPictureWidth = 120;
constexpr int kPictureHeight = 133;

}  // namespace

// Draws what the patch dialog's preview shows for the N-th match into a PNG picture.
int RunPreview(const CliArguments& arguments, const CliContext& context) {
    int status = ExitOk;
    const auto searchText = PrepareSearch(arguments, context, status);
    if (!searchText) {
        return status;
    }
    StderrMessages messages(context);
    FirmwareImage image(messages);
    if (!LoadFirmware(image, arguments.file, context)) {
        return ExitFileError;
    }
    const NthMatchOutcome outcome =
        PatchAtMatch(image, *searchText, arguments.match, [&](PatchRequest& request) {
            PrintFontLine(image, request.font, context);
            // The proposed text arrives fitted to the message; a --text is drawn as typed.
            const std::string& text = arguments.text ? *arguments.text : request.newText;
            const bool overLimit = text.size() > request.currentText.size();

            ScreenPreview preview;  // takes MagX and MagY from the settings
            preview.font = request.font;
            if (arguments.magX) {
                preview.magX = *arguments.magX;
                preview.magY = *arguments.magY;
            }
            QImage picture(kPictureWidth * preview.magX, kPictureHeight * preview.magY,
                           QImage::Format_RGB32);
            picture.fill(Qt::black);
            {
                QPainter painter(&picture);
                preview.Paint(painter, text, 0, 0, overLimit ? QColor(255, 0, 0) : Qt::black);
            }
            if (!picture.save(QString::fromLocal8Bit(arguments.out->c_str()), "PNG")) {
                context.Error("cannot write '" + *arguments.out + "'");
                status = ExitFileError;
            }
            return static_cast<int>(ConfirmCancel);
        });
    if (!outcome.reached) {
        context.Error("Search text not found");
        return ExitNotFound;
    }
    return status;
}

}  // namespace tavlo::cli
