#include "settings/settings_location.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/ascii.h"
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

// A path as the system finds it: absolute, links resolved (so /bin is /usr/bin), "." and ".."
// gone.
fs::path RealPath(const fs::path& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) {
        return path.lexically_normal();
    }
    fs::path real = fs::weakly_canonical(absolute, error);
    return (error ? absolute : real).lexically_normal();
}

bool SameName(const fs::path& a, const fs::path& b) {
    if constexpr (kNamesIgnoreCase) {
        return EqualIgnoringAsciiCase(NativePathOf(a), NativePathOf(b));
    } else {
        return a == b;
    }
}

// Whether `path` is `folder` or lies below it, name by name.
bool IsWithin(const fs::path& path, const fs::path& folder) {
    auto inPath = path.begin();
    for (const fs::path& name : folder) {
        if (name.empty()) {
            continue;  // the empty last name of a folder written with its final separator
        }
        if (inPath == path.end() || !SameName(*inPath, name)) {
            return false;
        }
        ++inPath;
    }
    return true;
}

}  // namespace

std::optional<std::string> PerUserSettingsFile() {
    if (auto folder = UserSettingsFolder()) {
        return NativePathOf(FileSystemPath(*folder) / "tavlo.cfg");
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

bool IsInstalledProgram(std::string_view programPath) {
    const fs::path folder = RealPath(FileSystemPath(GetConfigFileName(programPath)).parent_path());
    const std::vector<std::string> installed = InstallationFolders();
    return std::ranges::any_of(installed, [&folder](const std::string& place) {
        return IsWithin(folder, RealPath(FileSystemPath(place)));
    });
}

std::vector<std::string> SettingsFilesToCreate(std::string_view programPath) {
    std::vector<std::string> places;
    if (!IsInstalledProgram(programPath)) {
        places.push_back(GetConfigFileName(programPath));
    }
    if (std::optional<std::string> perUser = PerUserSettingsFile()) {
        places.push_back(std::move(*perUser));
    }
    if (places.empty()) {
        // An installed program of a user without a home: beside it is the only place left.
        places.push_back(GetConfigFileName(programPath));
    }
    return places;
}

std::string SettingsFileToCreate(std::string_view programPath) {
    const std::vector<std::string> places = SettingsFilesToCreate(programPath);
    for (std::size_t i = 0; i + 1 < places.size(); ++i) {
        if (IsWritableFolder(NativePathOf(FileSystemPath(places[i]).parent_path()))) {
            return places[i];
        }
    }
    return places.back();
}

}  // namespace tavlo
