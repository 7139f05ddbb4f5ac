#include <string>

#include "cli/cli_context.h"
#include "cli/nth_match.h"
#include "cli/png_file.h"
#include "core/firmware_image.h"
#include "screen/preview_picture.h"
#include "settings/settings_file.h"

namespace tavlo::cli {

// Draws what the patch dialog's preview shows for the N-th match into a PNG picture.
int RunPreview(const CliArguments& arguments, const CliContext& context) {
    int status = ExitOk;
    Settings settings;
    const auto searchText = PrepareSearch(arguments, context, settings, status);
    if (!searchText) {
        return status;
    }
    FirmwareImage image;
    if (!LoadFirmware(image, arguments.file, context)) {
        return ExitFileError;
    }
    int matchesSeen = 0;
    const SearchOutcome outcome = SearchToMatch(
        image, *searchText, settings, arguments.match,
        [&](PatchRequest& request) {
            PrintFontLine(image, request.font, context);
            // The proposed text arrives fitted to the message; a --text is drawn as typed.
            const std::string& text = arguments.text ? *arguments.text : request.newText;
            const bool overLimit = text.size() > request.currentText.size();
            if (request.font == nullptr) {
                // Not a firmware file, or one of another receiver: say why the picture is empty.
                context.Error("warning: '" + arguments.file +
                              "' holds no receiver font: the picture shows the screen without "
                              "the text");
            }
            WarnOfControlBytes(text, context);
            WarnOfHiddenText(request.font, text, context);

            // --mag, else the settings' magnification (both within 1 to 64).
            const int magX = arguments.magX ? *arguments.magX : request.magX;
            const int magY = arguments.magY ? *arguments.magY : request.magY;
            const RgbRaster picture = ComposePreview(request.font, text, magX, magY,
                                                     overLimit ? kTextTooLong : kTextFits);
            if (const auto why = WritePng(*arguments.out, picture, arguments.file)) {
                context.Error("cannot write '" + *arguments.out + "': " + *why);
                status = ExitFileError;
            }
            return Answer::Cancel;
        },
        &matchesSeen);
    if (!outcome.reached) {
        ReportNoMatch(arguments, *searchText, matchesSeen, context);
        return ExitNotFound;
    }
    return status;
}

}  // namespace tavlo::cli
