#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_arguments.h"
#include "core/text_file.h"

namespace tavlo {
class DeviceFont;
class FirmwareImage;
class Settings;
}  // namespace tavlo

namespace tavlo::cli {

enum ExitStatus : int { ExitOk = 0, ExitNotFound = 1, ExitUsage = 2, ExitFileError = 3 };

// Where a command writes, and how it was started.
struct CliContext {
    std::string programPath;  // argument zero
    std::FILE* out = stdout;
    std::FILE* err = stderr;

    // Writes "tavlo-cli: " and a UTF-8 line to standard error.
    void Error(std::string_view utf8) const;
};

// Reads the settings: the file given with --settings, else the desktop program's own settings
// file (tavlo.cfg beside tavlo, which lies beside tavlo-cli, else the user's own). Their Path()
// is the file read, or nullopt when there is none. A --settings file that cannot be read, and
// any settings file that is no regular file or is too large, is an error (false) that has been
// reported.
bool LoadSettings(const CliArguments& arguments, const CliContext& context, Settings& settings);

// Says on standard error why `what` ("the settings file", "the text file") at `path` was not
// read (then false), or that some of its characters became "?".
bool ReportTextFile(const TextFileStatus& status, const std::string& what, const std::string& path,
                    const CliContext& context);

// The settings and then the search text, for the commands that search. On failure it has said
// why, sets `status` and returns nullopt.
std::optional<std::string> PrepareSearch(const CliArguments& arguments, const CliContext& context,
                                         Settings& settings, int& status);

// Loads the firmware file; on failure says why and returns false.
bool LoadFirmware(FirmwareImage& image, const std::string& path, const CliContext& context);

// The text to search for: --search, else the start-up search text of the settings.
// An empty text is refused with the desktop program's words.
std::optional<std::string> SearchTextFor(const CliArguments& arguments, const Settings& settings,
                                         const CliContext& context);

// Says that the search ended without the match asked for: none at all, or how many there are
// when --match asked for one past the last.
void ReportNoMatch(const CliArguments& arguments, const std::string& searchText, int matchesSeen,
                   const CliContext& context);

// Warns when the receiver will not show all of `text` (lines below its screen, characters past
// its right edge) laid out in `font`.
void WarnOfHiddenText(const DeviceFont* font, std::string_view text, const CliContext& context);

// Warns of the bytes in `text` that the receiver does not show as text: a zero byte ends the
// message it shows there, and control bytes (below 32, but for the line break "\n") show as
// blanks.
void WarnOfControlBytes(std::string_view text, const CliContext& context);

// Prints "font: OFFSET" or "font: not found".
void PrintFontLine(const FirmwareImage& image, const DeviceFont* font, const CliContext& context);

// The program path of the desktop program that lies beside this executable.
std::string DesktopProgramPath(const std::string& programPath);

int RunFind(const CliArguments& arguments, const CliContext& context);
int RunPatch(const CliArguments& arguments, const CliContext& context);
int RunSettings(const CliArguments& arguments, const CliContext& context);
int RunPreview(const CliArguments& arguments, const CliContext& context);
int RunInfo(const CliArguments& arguments, const CliContext& context);

}  // namespace tavlo::cli
