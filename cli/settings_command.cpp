#include <string>

#include "cli/cli_context.h"
#include "cli/terminal_text.h"
#include "core/windows1252.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_location.h"
#include "settings/startup_values.h"

namespace tavlo::cli {

namespace {

void PrintValue(const CliContext& context, const char* name, const std::string& value) {
    std::fprintf(context.out, "%s=%s\n", name, EscapeForTerminal(value).c_str());
}

}  // namespace

// Shows the settings file read (or where a new one would go) and the start-up values as the
// desktop program takes them, or one stored value.
int RunSettings(const CliArguments& arguments, const CliContext& context) {
    std::optional<std::string> settingsPath;
    if (!LoadSettings(arguments, context, settingsPath)) {
        return ExitFileError;
    }
    if (arguments.getSection) {
        const char* value = GetConfigString(*arguments.getSection, *arguments.getKey, nullptr);
        if (value == nullptr) {
            return ExitNotFound;
        }
        std::fprintf(context.out, "%s\n", EscapeForTerminal(value).c_str());
        return ExitOk;
    }
    // Names go through the terminal escaper: a folder's name could hold control characters.
    if (settingsPath) {
        std::fprintf(context.out, "file: %s\n",
                     EscapePathForTerminal(PathForMessage(*settingsPath)).c_str());
    } else {
        // Where the desktop program's Edit settings would create the file.
        const std::string created = SettingsFileToCreate(DesktopProgramPath(context.programPath));
        std::fprintf(context.out, "file: none\ncreate: %s\n",
                     EscapePathForTerminal(PathForMessage(created)).c_str());
    }
    PrintValue(context, "Image/Filename", StartupFilePattern());
    PrintValue(context, "Patch/SearchString", StartupSearchText());
    for (const char* key : {"MagX", "MagY"}) {
        const std::string name = std::string(kDisplaySection) + "/" + key;
        PrintValue(context, name.c_str(), std::to_string(StartupMagnification(key)));
    }
    // The owner lines in use, as the patch step collects them.
    const std::vector<std::string> lines = OwnerLines(kPatchSection);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PrintValue(context, ("Patch/L" + std::to_string(i + 1)).c_str(), lines[i]);
    }
    return ExitOk;
}

}  // namespace tavlo::cli
