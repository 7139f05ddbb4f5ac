#pragma once

#include <optional>
#include <string>
#include <string_view>

// Which settings file a program reads, and where Edit settings creates one. A copy kept beside
// the program (portable use) wins; an installed program, whose folder belongs to the system,
// keeps its settings in the user's own configuration folder. Both programs follow this rule.
namespace tavlo {

// The per-user settings file: $XDG_CONFIG_HOME/tavlo/tavlo.cfg, or ~/.config/tavlo/tavlo.cfg
// when that variable is unset, empty or relative. Nullopt only when no home folder is known.
std::optional<std::string> PerUserSettingsFile();

// The settings file to read for a program started as `programPath` (argument zero): the file
// beside the program (GetConfigFileName, whatever the letter case of its name) when it exists,
// else the per-user file when it exists, else nullopt.
std::optional<std::string> SettingsFileToRead(std::string_view programPath);

// Where a new settings file goes: beside the program when the user may write to the program's
// folder and that folder is not a system one (under /usr or /opt), else the per-user file. The
// caller creates the per-user file's folder.
std::string SettingsFileToCreate(std::string_view programPath);

}  // namespace tavlo
