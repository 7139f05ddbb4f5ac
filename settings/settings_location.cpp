#include "settings/settings_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/disk_file.h"
#include "core/file_names.h"
#include "settings/settings_file.h"

namespace tavlo {

namespace {

namespace fs = std::filesystem;

// Something that may be the settings file: a folder or a broken link of that name is not one.
// A named pipe or a device is, so the reader refuses it with a message rather than passing it
// over for another file.
bool IsExistingFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(FileSystemPath(path), error);
    return fs::exists(status) && !fs::is_directory(status);
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

}  // namespace

std::optional<std::string> PerUserSettingsFile() {
    if (auto folder = UserSettingsFolder()) {
        return *folder + "/tavlo.cfg";
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
    const fs::path folder = FileSystemPath(beside).parent_path();
    if (IsWritableFolder(NativePathOf(folder)) && !IsSystemFolder(folder)) {
        return beside;
    }
    return PerUserSettingsFile().value_or(beside);
}

}  // namespace tavlo
