#include <string>

#include "cli/cli_context.h"
#include "cli/terminal_text.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_location.h"

namespace tavlo::cli {

namespace {

void PrintValue(const CliContext& context, const char* name, const std::string& value) {
    std::fprintf(context.out, "%s=%s\n", name, EscapeForTerminal(value).c_str());
}

}  // namespace

// Shows the settings file read (or where a new one would go) and the start-up values as the
// desktop program takes them, or one stored value.
int RunSettings(const CliArguments& arguments, const CliContext& context) {
    Settings settings;
    if (!LoadSettings(arguments, context, settings)) {
        return ExitFileError;
    }
    if (arguments.getSection) {
        const char* value =
            settings.GetConfigString(*arguments.getSection, *arguments.getKey, nullptr);
        if (value == nullptr) {
            return ExitNotFound;
        }
        std::fprintf(context.out, "%s\n", EscapeForTerminal(value).c_str());
        return ExitOk;
    }
    // Names go through the terminal escaper: a folder's name could hold control characters.
    if (settings.Path()) {
        std::fprintf(context.out, "file: %s\n", EscapeUtf8ForTerminal(*settings.Path()).c_str());
    } else {
        // Where the desktop program's Edit settings would create the file.
        const std::string created = SettingsFileToCreate(DesktopProgramPath(context.programPath));
        std::fprintf(context.out, "file: none\ncreate: %s\n",
                     EscapeUtf8ForTerminal(created).c_str());
    }
    // Every value as stored (Windows-1252), the file name too, so one unescaping reads them all.
    PrintValue(context, "Image/Filename",
               settings.GetConfigString(kImageSection, "Filename",
                                        BuiltInDefault(kImageSection, "Filename")));
    PrintValue(context, "Patch/SearchString", settings.SearchText());
    for (const char* key : {"MagX", "MagY"}) {
        const std::string name = std::string(kDisplaySection) + "/" + key;
        PrintValue(context, name.c_str(), std::to_string(settings.Magnification(key)));
    }
    // The owner lines in use, as the patch step collects them.
    const std::vector<std::string> lines = settings.OwnerLines(kPatchSection);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PrintValue(context, ("Patch/L" + std::to_string(i + 1)).c_str(), lines[i]);
    }
    return ExitOk;
}

}  // namespace tavlo::cli
