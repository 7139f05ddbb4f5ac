#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "core/disk_file.h"

namespace tavlo {

namespace {

std::optional<std::string> AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return std::string(value);
}

// $HOME, or the home folder of the user database when HOME is unset (a service, su -).
std::optional<std::string> HomeFolder() {
    if (auto home = AbsoluteVariable("HOME")) {
        return home;
    }
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir[0] == '/') {
        return std::string(user->pw_dir);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> UserSettingsFolder() {
    // A relative $XDG_CONFIG_HOME is no valid setting: the default applies then.
    if (auto config = AbsoluteVariable("XDG_CONFIG_HOME")) {
        return *config + "/tavlo";
    }
    if (auto home = HomeFolder()) {
        return *home + "/.config/tavlo";
    }
    return std::nullopt;
}

bool IsWritableFolder(const std::string& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

std::vector<std::string> InstallationFolders() {
    // The package manager's programs, and those of other installers (/opt/<vendor>).
    return {"/usr", "/opt"};
}

}  // namespace tavlo
