#include <string>

#include "cli/cli_context.h"
#include "cli/terminal_text.h"
#include "core/firmware_image.h"

namespace tavlo::cli {

// Lists every match in the order Find Next visits them: offset, length, message.
int RunFind(const CliArguments& arguments, const CliContext& context) {
    std::optional<std::string> settingsPath;
    if (!LoadSettings(arguments, context, settingsPath)) {
        return ExitFileError;
    }
    const auto searchText = SearchTextFor(arguments, context);
    if (!searchText) {
        return ExitUsage;
    }
    StderrMessages messages(context);
    FirmwareImage image(messages);
    if (!LoadFirmware(image, arguments.file, context)) {
        return ExitFileError;
    }
    int found = 0;
    image.ResetSearch();
    while (image.LocateMessage(*searchText)) {
        const std::uint32_t length = image.MessageLength();
        const auto* message = reinterpret_cast<const char*>(image.Data() + image.MatchOffset());
        std::fprintf(context.out, "%d\t%u\t%s\n", image.MatchOffset(), length,
                     EscapeForTerminal(std::string_view(message, length)).c_str());
        ++found;
    }
    if (found == 0) {
        context.Error("Search text not found");
        return ExitNotFound;
    }
    return ExitOk;
}

}  // namespace tavlo::cli
