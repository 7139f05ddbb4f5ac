#include "cli/cli_context.h"

#include "core/disk_file.h"
#include "core/file_names.h"
#include "core/firmware_image.h"
#include "core/windows1252.h"
#include "screen/screen_layout.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "settings/startup_values.h"

namespace tavlo::cli {

void CliContext::Error(std::string_view utf8) const {
    std::fprintf(err, "tavlo-cli: %.*s\n", static_cast<int>(utf8.size()), utf8.data());
}

std::string DesktopProgramPath(const std::string& programPath) {
    std::string self = programPath;
    if (self.find_first_of(kPathSeparators) == std::string::npos) {
        // Started through PATH: ask the system where this executable lies.
        self = RunningExecutablePath().value_or(self);
    }
    const std::size_t slash = self.find_last_of(kPathSeparators);
    return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "tavlo";
}

bool ReportTextFile(const TextFileStatus& status, const std::string& what, const std::string& path,
                    const CliContext& context) {
    if (status.outcome != TextFileStatus::Outcome::Read) {
        context.Error("cannot read " + what + " '" + path + "': " + status.problem);
        return false;
    }
    if (status.replaced > 0) {
        const char32_t first = status.firstReplaced;
        context.Error(what + " '" + path + "' holds " + std::to_string(status.replaced) +
                      " character(s) that Windows-1252 cannot hold, such as '" +
                      CodePointToUtf8(first) + "' (" + CodePointName(first) +
                      "); each is read as '?'");
    }
    return true;
}

bool LoadSettings(const CliArguments& arguments, const CliContext& context,
                  std::optional<std::string>& settingsPath) {
    FreeConfig();
    settingsPath.reset();
    // Without --settings, the desktop program's file (beside it, else the user's own): not having
    // one is no error.
    const std::optional<std::string> found =
        arguments.settings ? arguments.settings
                           : SettingsFileToRead(DesktopProgramPath(context.programPath));
    if (!found) {
        return true;
    }
    const std::string& path = *found;
    const TextFileStatus status = ReadConfigFileReporting(path);
    if (!arguments.settings && status.outcome == TextFileStatus::Outcome::NotOpened) {
        return true;
    }
    if (!ReportTextFile(status, "the settings file", path, context)) {
        return false;
    }
    settingsPath = path;
    return true;
}

std::optional<std::string> PrepareSearch(const CliArguments& arguments, const CliContext& context,
                                         int& status) {
    std::optional<std::string> settingsPath;
    if (!LoadSettings(arguments, context, settingsPath)) {
        status = ExitFileError;
        return std::nullopt;
    }
    auto searchText = SearchTextFor(arguments, context);
    if (!searchText) {
        status = ExitUsage;
    }
    return searchText;
}

bool LoadFirmware(FirmwareImage& image, const std::string& path, const CliContext& context) {
    if (image.Load(path)) {
        return true;
    }
    context.Error("cannot read '" + path + "': " + image.LastError());
    return false;
}

std::optional<std::string> SearchTextFor(const CliArguments& arguments, const CliContext& context) {
    std::string text = arguments.search ? *arguments.search : StartupSearchText();
    if (text.empty()) {
        context.Error("Nothing to search for: the search text is empty");
        return std::nullopt;
    }
    return text;
}

void ReportNoMatch(const CliArguments& arguments, const std::string& searchText, int matchesSeen,
                   const CliContext& context) {
    if (matchesSeen == 0) {
        context.Error("Search text not found");
        return;
    }
    context.Error("--match " + std::to_string(arguments.match) + " is past the last match: '" +
                  Windows1252ToUtf8(searchText) + "' has " + std::to_string(matchesSeen) +
                  (matchesSeen == 1 ? " match" : " matches") + " in the file");
}

void WarnOfHiddenText(const DeviceFont* font, std::string_view text, const CliContext& context) {
    // Lays out without drawing: only what stays hidden counts.
    class NoPixels : public PixelSink {
    public:
        void LightPixel(int, int) override {}
    } sink;
    const std::string note = HiddenTextNote(ScreenLayout(font, sink).Hidden(text));
    if (!note.empty()) {
        context.Error("warning: " + Windows1252ToUtf8(note));
    }
}

}  // namespace tavlo::cli
