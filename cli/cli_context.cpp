#include "cli/cli_context.h"

#include "cli/terminal_text.h"
#include "core/disk_file.h"
#include "core/file_names.h"
#include "core/firmware_image.h"
#include "core/windows1252.h"
#include "screen/screen_layout.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"

namespace tavlo::cli {

void CliContext::Error(std::string_view utf8) const {
    // Names and texts from the command line, the file system and the firmware are in it: none
    // may steer the terminal or start a line of its own.
    std::fprintf(err, "tavlo-cli: %s\n", EscapeUtf8ForTerminal(utf8).c_str());
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

bool LoadSettings(const CliArguments& arguments, const CliContext& context, Settings& settings) {
    settings = Settings();
    // Without --settings, the desktop program's file (beside it, else the user's own): not having
    // one is no error.
    const std::optional<std::string> found =
        arguments.settings ? arguments.settings
                           : SettingsFileToRead(DesktopProgramPath(context.programPath));
    if (!found) {
        return true;
    }
    const std::string& path = *found;
    const TextFileStatus status = ReadConfigFileReporting(path, settings);
    if (!arguments.settings && status.outcome == TextFileStatus::Outcome::NotOpened) {
        return true;
    }
    return ReportTextFile(status, "the settings file", path, context);
}

std::optional<std::string> PrepareSearch(const CliArguments& arguments, const CliContext& context,
                                         Settings& settings, int& status) {
    if (!LoadSettings(arguments, context, settings)) {
        status = ExitFileError;
        return std::nullopt;
    }
    auto searchText = SearchTextFor(arguments, settings, context);
    if (!searchText) {
        status = ExitUsage;
    }
    return searchText;
}

bool LoadFirmware(FirmwareImage& image, const std::string& path, const CliContext& context) {
    if (image.Load(path)) {
        return true;
    }
    context.Error("cannot read '" + path + "': " + Windows1252ToUtf8(image.LastError()));
    return false;
}

std::optional<std::string> SearchTextFor(const CliArguments& arguments, const Settings& settings,
                                         const CliContext& context) {
    std::string text = arguments.search ? *arguments.search : settings.SearchText();
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

void WarnOfControlBytes(std::string_view text, const CliContext& context) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) {
        context.Error("warning: the text holds a zero byte (byte " + std::to_string(zero + 1) +
                      " of " + std::to_string(text.size()) +
                      "): the receiver shows the message only up to it");
        text = text.substr(0, zero);  // what the receiver shows
    }
    std::size_t count = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 0x20 && text[i] != '\n' && count++ == 0) {
            first = i;
        }
    }
    if (count > 0) {
        context.Error("warning: the text holds " + std::to_string(count) +
                      " control byte(s), the first " + EscapeForTerminal(text.substr(first, 1)) +
                      " (byte " + std::to_string(first + 1) +
                      "): the receiver shows them as blanks, and only \\n starts a new line");
    }
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
