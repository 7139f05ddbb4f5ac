#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which settings file a program reads, and where Edit settings creates one. A copy kept beside
// the program (portable use) wins; an installed program, whose folder belongs to the system,
// keeps its settings in the user's own configuration folder, and so does a program whose folder
// does not take a new file. Both programs follow this rule.
namespace tavlo {

// The per-user settings file: $XDG_CONFIG_HOME/tavlo/tavlo.cfg, or ~/.config/tavlo/tavlo.cfg
// when that variable is unset, empty or relative (Windows: %APPDATA%\Tavlo\tavlo.cfg). Nullopt
// only when no such folder is known.
std::optional<std::string> PerUserSettingsFile();

// The settings file to read for a program started as `programPath` (argument zero): the file
// beside the program (GetConfigFileName, whatever the letter case of its name) when it exists,
// else the per-user file when it exists, else nullopt.
std::optional<std::string> SettingsFileToRead(std::string_view programPath);

// Whether the program was installed: its folder, links resolved, lies in one of the system's
// installation folders (InstallationFolders: /usr and /opt; Program Files,
// %LOCALAPPDATA%\Programs).
bool IsInstalledProgram(std::string_view programPath);

// Where a new settings file goes, in the order Edit settings tries the places: beside the
// program unless it was installed, then the per-user file. A place that does not take the file
// (a folder the user may not write, a read-only disk) passes on to the next; the caller makes the
// per-user file's folder.
std::vector<std::string> SettingsFilesToCreate(std::string_view programPath);

// Where a create would go now, for a report that must not make the file: the first of those
// places whose folder the user may write, else the per-user file.
std::string SettingsFileToCreate(std::string_view programPath);

}  // namespace tavlo
