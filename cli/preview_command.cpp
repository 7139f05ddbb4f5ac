#include <string>

#include "cli/cli_context.h"
#include "cli/nth_match.h"
#include "cli/png_file.h"
#include "core/firmware_image.h"
#include "screen/preview_picture.h"
#include "settings/startup_values.h"

namespace tavlo::cli {

// Draws what the patch dialog's preview shows for the N-th match into a PNG picture.
int RunPreview(const CliArguments& arguments, const CliContext& context) {
    int status = ExitOk;
    const auto searchText = PrepareSearch(arguments, context, status);
    if (!searchText) {
        return status;
    }
    FirmwareImage image;
    if (!LoadFirmware(image, arguments.file, context)) {
        return ExitFileError;
    }
    int matchesSeen = 0;
    const SearchOutcome outcome = SearchToMatch(
        image, *searchText, arguments.match,
        [&](PatchRequest& request) {
            PrintFontLine(image, request.font, context);
            // The proposed text arrives fitted to the message; a --text is drawn as typed.
            const std::string& text = arguments.text ? *arguments.text : request.newText;
            const bool overLimit = text.size() > request.currentText.size();
            WarnOfHiddenText(request.font, text, context);

            // --mag, else the settings' magnification (both within 1 to 64).
            const int magX = arguments.magX ? *arguments.magX : StartupMagnification("MagX");
            const int magY = arguments.magY ? *arguments.magY : StartupMagnification("MagY");
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
