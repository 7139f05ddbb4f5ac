#include <string>

#include "cli/cli_context.h"
#include "cli/terminal_text.h"
#include "core/message_scanner.h"

namespace tavlo::cli {

// Lists every match in the order Find Next visits them: offset, length, message.
int RunFind(const CliArguments& arguments, const CliContext& context) {
    int status = ExitOk;
    const auto searchText = PrepareSearch(arguments, context, status);
    if (!searchText) {
        return status;
    }
    // The file is read in pieces rather than loaded whole: listing needs one pass only, and
    // the scanner keeps every rule of the loaded image's Find Next.
    MessageScanner scanner;
    int found = 0;
    const bool read = scanner.Scan(
        arguments.file, *searchText, [&](std::uint32_t offset, std::string_view message) {
            std::fprintf(context.out, "%u\t%zu\t%s\n", offset, message.size(),
                         EscapeForTerminal(message).c_str());
            ++found;
        });
    if (!read) {
        context.Error("cannot read '" + arguments.file + "': " + scanner.LastError());
        return ExitFileError;
    }
    if (found == 0) {
        context.Error("Search text not found");
        return ExitNotFound;
    }
    return ExitOk;
}

}  // namespace tavlo::cli
