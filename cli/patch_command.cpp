#include <string>
#include <utility>

#include "cli/cli_context.h"
#include "cli/nth_match.h"
#include "cli/terminal_text.h"
#include "core/firmware_image.h"
#include "core/windows1252.h"
#include "settings/settings_file.h"
#include "workflow/save_failure_message.h"

namespace tavlo::cli {

namespace {

// A --text-file is read like the settings file: a regular file of at most 1 MiB, UTF-8,
// UTF-16 with a byte-order mark (Notepad's "Unicode") or Windows-1252.
std::optional<std::string> ReadOwnerTextFile(const std::string& path, const CliContext& context) {
    TextFile file = ReadTextFile(path);
    if (!ReportTextFile(file.status, "the text file", path, context)) {
        return std::nullopt;
    }
    return std::move(file.text);
}

// The patch step's answer from the command line: the text given (or the proposal) replaces the
// message; what the fitting to its length and the receiver's screen leave out is said.
Answer ConfirmFromCommandLine(PatchRequest& request, const std::optional<std::string>& newText,
                              const CliContext& context) {
    if (newText) {
        request.newText = *newText;
    }
    const std::size_t length = request.currentText.size();
    if (request.newText.size() > length) {
        context.Error("warning: the text is " + std::to_string(request.newText.size() - length) +
                      " bytes longer than the message and was cut to its " +
                      std::to_string(length));
    }
    const std::string written = FitToLength(request.newText, length);
    WarnOfControlBytes(written, context);
    WarnOfHiddenText(request.font, written, context);
    return Answer::Ok;
}

// Saves the patched image as the desktop program's Exit does, and says how that ended.
int SaveAndReport(FirmwareImage& image, const CliArguments& arguments, const CliContext& context) {
    const SaveOutcome saved = image.Save(!arguments.noBackup, IfFileChanged::Keep);
    if (saved == SaveOutcome::FileChanged) {
        // Another program changed the file between reading and writing: its change wins.
        context.Error(Windows1252ToUtf8(image.LastError()) +
                      "; it was left as it is: run the command again to patch it as it is now");
        return ExitFileError;
    }
    if (saved == SaveOutcome::Failed) {
        // The window's message, each of its lines (summary, cause, advice) on a line of its own,
        // then that nothing on disk changed.
        const std::string message = Windows1252ToUtf8(SaveFailureText(image.LastFailure()));
        for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
            end = message.find('\n', start);
            context.Error(message.substr(start, end - start));
        }
        context.Error("'" + arguments.file + "' was left as it was (" +
                      Windows1252ToUtf8(image.LastError()) + ")");
        return ExitFileError;
    }
    if (!arguments.noBackup && !image.BackupMade()) {
        // Nothing stood at the file's name any more: there was nothing to back up.
        context.Error("warning: '" + arguments.file +
                      "' was no longer on disk: it was written anew, and no backup was made");
    } else if (!arguments.noBackup) {
        // The path as the file system spells it, as the user gave the file's.
        std::fprintf(context.out, "backup: %s\n",
                     EscapeUtf8ForTerminal(FirmwareImage::BackupName(image.FileName())).c_str());
    }
    return ExitOk;
}

}  // namespace

// Replaces the N-th match with the text, fitted to the message's length, and saves the file
// as the desktop program's Exit does: with a ".bak" backup of the file on disk.
int RunPatch(const CliArguments& arguments, const CliContext& context) {
    int status = ExitOk;
    Settings settings;
    const auto searchText = PrepareSearch(arguments, context, settings, status);
    if (!searchText) {
        return status;
    }
    std::optional<std::string> newText = arguments.text;
    if (arguments.textFile) {
        newText = ReadOwnerTextFile(*arguments.textFile, context);
        if (!newText) {
            return ExitFileError;
        }
    }
    FirmwareImage image;
    if (!LoadFirmware(image, arguments.file, context)) {
        return ExitFileError;
    }
    std::string oldText;
    int matchesSeen = 0;
    const SearchOutcome outcome = SearchToMatch(
        image, *searchText, settings, arguments.match,
        [&](PatchRequest& request) {
            oldText = request.currentText;
            return ConfirmFromCommandLine(request, newText, context);
        },
        &matchesSeen);
    if (!outcome.reached) {
        ReportNoMatch(arguments, *searchText, matchesSeen, context);
        return ExitNotFound;
    }
    const auto* written = reinterpret_cast<const char*>(image.Data() + outcome.offset);
    std::fprintf(context.out, "match: %lld %zu\nold: %s\nnew: %s\n",
                 static_cast<long long>(outcome.offset), oldText.size(),
                 EscapeForTerminal(oldText).c_str(),
                 EscapeForTerminal(std::string_view(written, oldText.size())).c_str());
    return arguments.dryRun ? ExitOk : SaveAndReport(image, arguments, context);
}

}  // namespace tavlo::cli
