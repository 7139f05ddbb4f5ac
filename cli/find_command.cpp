#include <string>

#include "cli/cli_context.h"
#include "cli/terminal_text.h"
#include "core/message_scanner.h"
#include "core/windows1252.h"
#include "settings/settings_file.h"

namespace tavlo::cli {

namespace {

// The text column shows at most this many bytes of a message, then "...": a file without zero
// bytes would otherwise print each of its matches' messages to the end of the file. The length
// column still gives the whole length.
constexpr std::size_t kTextColumnLimit = 1024;

}  // namespace

// Lists every match in the order Find Next visits them: offset, length, message (its head).
int RunFind(const CliArguments& arguments, const CliContext& context) {
    int status = ExitOk;
    Settings settings;
    const auto searchText = PrepareSearch(arguments, context, settings, status);
    if (!searchText) {
        return status;
    }
    // The file is read in pieces rather than loaded whole: listing needs one pass only, and
    // the scanner keeps every rule of the loaded image's Find Next.
    MessageScanner scanner;
    int found = 0;
    const bool read = scanner.Scan(
        arguments.file, *searchText, kTextColumnLimit,
        [&](std::uint32_t offset, std::uint32_t length, std::string_view head) {
            std::fprintf(context.out, "%u\t%u\t%s%s\n", offset, length,
                         EscapeForTerminal(head).c_str(), length > head.size() ? "..." : "");
            ++found;
        });
    if (!read) {
        context.Error("cannot read '" + arguments.file +
                      "': " + Windows1252ToUtf8(scanner.LastError()));
        return ExitFileError;
    }
    if (found == 0) {
        context.Error("Search text not found");
        return ExitNotFound;
    }
    return ExitOk;
}

}  // namespace tavlo::cli
