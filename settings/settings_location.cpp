#include "settings/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "settings/settings_file.h"

namespace tavlo {

namespace {

namespace fs = std::filesystem;

// Something that may be the settings file: a folder or a broken link of that name is not one.
// A named pipe or a device is, so the reader refuses it with a message rather than passing it
// over for another file.
bool IsExistingFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return fs::exists(status) && !fs::is_directory(status);
}

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

// Folders whose programs were installed by the system: settings kept beside them would be
// shared by every user and lost at the next upgrade. A link such as /bin is resolved first.
bool IsSystemFolder(const fs::path& folder) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(fs::absolute(folder, error), error);
    auto part = real.begin();
    if (part == real.end() || *part != "/" || ++part == real.end()) {
        return false;
    }
    return *part == "usr" || *part == "opt";
}

bool IsWritableFolder(const fs::path& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

}  // namespace

std::optional<std::string> PerUserSettingsFile() {
    if (auto config = AbsoluteVariable("XDG_CONFIG_HOME")) {
        return *config + "/tavlo/tavlo.cfg";
    }
    if (auto home = HomeFolder()) {
        return *home + "/.config/tavlo/tavlo.cfg";
    }
    return std::nullopt;
}

std::optional<std::string> SettingsFileToRead(std::string_view programPath) {
    const std::string beside = GetConfigFileName(programPath);
    if (IsExistingFile(beside)) {
        return beside;
    }
    std::optional<std::string> perUser = PerUserSettingsFile();
    if (perUser && IsExistingFile(*perUser)) {
        return perUser;
    }
    return std::nullopt;
}

std::string SettingsFileToCreate(std::string_view programPath) {
    const std::string beside = GetConfigFileName(programPath);
    const fs::path folder = fs::path(beside).parent_path();
    if (IsWritableFolder(folder) && !IsSystemFolder(folder)) {
        return beside;
    }
    return PerUserSettingsFile().value_or(beside);
}

}  // namespace tavlo
