#include "workflow/settings_editor_flow.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "core/file_names.h"
#include "core/message_format.h"
#include "core/resource_file.h"
#include "core/text_file.h"
#include "core/windows1252.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "workflow/desktop_programs.h"
#include "workflow/desktop_services.h"
#include "workflow/main_window_flow.h"

namespace tavlo {

namespace {

// The editor really started is named where a Windows build named its own.
constexpr const char* kCreateTitle = "Tavlo : Create default settings file ?";
constexpr const char* kCreateText =
    "The default settings file (tavlo.cfg) was not found.\n\nShould Tavlo create one for you ?\n"
    "Select YES to create the file and edit it with %1,\nSelect NO to cancel this action.";

constexpr const char* kLaunchFailedTitle = "Tavlo : Could not launch %1";
constexpr const char* kLaunchFailedText =
    "Tavlo could not launch %1 to edit the configuration\nfile. (An error #%2 was returned)\n\n"
    "If you have another editor, use it to open the following file:\n\n%3\n";

constexpr const char* kFinishedText =
    "Press OK when you are finished editing and have saved the config file";

constexpr const char* kCreateFailedTitle = "Tavlo : Could not create default settings file";
constexpr const char* kCreateFailedText =
    "Tavlo could not create the default settings file\n%1\n\n%2\n\nNo editor was started.";

// The default settings file as carried in the program.
constexpr const char* kDefaultSettingsName = "tavlo.cfg";
constexpr const char* kDefaultSettingsType = "RT_TAVLO";

// Why the default copy could not be put at a place (UTF-8), and whether the next place may be
// tried: only when nothing was made there, so that no file of the user's stands in its way.
struct CreateFailure {
    std::string reason;
    bool nextPlace = false;
};

// Writes the default copy to the settings path, byte for byte, and reads the settings again.
// Something already there (a file the reader would not take, a folder) is the user's and is
// never replaced.
std::optional<CreateFailure> CreateDefaultSettings(MainWindowFlow& window,
                                                   const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(FileSystemPath(path), error))) {
        const std::string problem = ReadTextFile(path).status.problem;
        return CreateFailure{Windows1252ToUtf8(FormatMessage(
            "Something of that name is there, and it is no settings file Tavlo can read: %1",
            {problem.empty() ? std::string(std::strerror(EEXIST)) : problem}))};
    }
    // The per-user file's folder may not be there yet.
    std::filesystem::create_directories(FileSystemPath(path).parent_path(), error);
    if (error) {
        return CreateFailure{FormatMessage("Its folder could not be made: %1", {error.message()}),
                             true};
    }
    if (auto failure = WriteResourceFile(kDefaultSettingsName, kDefaultSettingsType, path)) {
        return CreateFailure{Windows1252ToUtf8(*failure), true};
    }
    window.ApplySettings();
    if (!window.CurrentSettings().Path()) {
        return CreateFailure{"The file was written, but could not be read back"};
    }
    return std::nullopt;
}

// Puts the default copy at the first place that takes it (SettingsFilesToCreate): beside the
// program when its folder is the user's and really takes the file, else the per-user file.
// Nothing, or the last place tried and why it failed.
std::optional<std::pair<std::string, std::string>> CreateSettingsFile(MainWindowFlow& window) {
    std::optional<std::pair<std::string, std::string>> failed;
    for (const std::string& path : SettingsFilesToCreate(window.ProgramPath())) {
        const std::optional<CreateFailure> failure = CreateDefaultSettings(window, path);
        if (!failure) {
            return std::nullopt;
        }
        failed.emplace(path, failure->reason);
        if (!failure->nextPlace) {
            break;
        }
    }
    return failed;
}

}  // namespace

void EditSettings(MainWindowFlow& window, DesktopPrograms& programs) {
    DesktopServices& desktop = window.Desktop();
    if (!window.CurrentSettings().Path()) {
        if (!desktop.AskYesNo(kCreateTitle, FormatMessage(kCreateText, {programs.EditorName()}))) {
            return;
        }
        if (const auto failed = CreateSettingsFile(window)) {
            // An editor without the file would only leave the user guessing where it belongs.
            desktop.ShowMessage(kCreateFailedTitle,
                                FormatMessage(kCreateFailedText,
                                              {PathForMessageBox(failed->first), failed->second}),
                                MessageIcon::None);
            return;
        }
    }

    // From here on there is a settings file: the editor always opens it.
    const std::string settingsPath = *window.CurrentSettings().Path();
    const LaunchResult launch = programs.OpenInEditor(settingsPath);
    if (launch.error != 0) {
        desktop.ShowMessage(
            FormatMessage(kLaunchFailedTitle, {launch.program}),
            FormatMessage(kLaunchFailedText, {launch.program, std::to_string(launch.error),
                                              PathForMessageBox(settingsPath)}),
            MessageIcon::None);
    }

    // The editor is not watched: the user says when the editing is done.
    desktop.ShowMessage(window.ApplicationName(), kFinishedText, MessageIcon::None);
    window.ApplySettings();
}

}  // namespace tavlo
