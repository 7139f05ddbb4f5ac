#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "core/ascii.h"
#include "core/disk_file.h"
#include "core/file_names.h"
#include "settings/settings_file.h"

// Where the settings file lies: beside the program, named after it with the extension ".cfg".
// The path is kept in a std::string, so there is no length limit beyond the file system's own.
namespace tavlo {

namespace {

namespace fs = std::filesystem;

// The path cut at the last "." of its final component, and ".cfg" appended. A "." in a
// directory name is no extension, and neither is a "." that begins the final component: the
// program "/x/.tavlo" reads "/x/.tavlo.cfg", not "/x/.CFG".
std::string WithSettingsExtension(std::string path) {
    const std::size_t slash = path.find_last_of(kPathSeparators);
    const std::size_t nameStart = (slash == std::string::npos) ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > nameStart) {
        path.erase(dot);
    }
    return path + ".cfg";
}

// File names on this system are case-sensitive, but a settings file is meant to be found
// whatever the case of its name (tavlo.CFG for tavlo.cfg). An exact match wins; among several
// other spellings the one first in byte order does, so the choice does not depend on the order
// in which the folder lists its files.
std::string WithExistingLetterCase(const std::string& path) {
    std::error_code error;
    // Where the file system ignores case, any spelling is found: the folder's listing says how
    // the file is spelled.
    if (!kNamesIgnoreCase && fs::exists(fs::symlink_status(path, error))) {
        return path;
    }
    const std::size_t slash = path.find_last_of(kPathSeparators);
    const std::string folderPrefix = (slash == std::string::npos) ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(folderPrefix.size());
    std::optional<std::string> best;
    fs::directory_iterator it(folderPrefix.empty() ? fs::path(".") : fs::path(folderPrefix), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string candidate = it->path().filename().string();
        std::error_code typeError;
        if (EqualIgnoringAsciiCase(candidate, name) && it->is_regular_file(typeError) &&
            (!best || candidate < *best)) {
            best = candidate;
        }
    }
    return best ? folderPrefix + *best : path;
}

}  // namespace

std::string GetConfigFileName(std::string_view programPath) {
    std::string program(programPath);
    if (program.find_first_of(kPathSeparators) == std::string::npos) {
        // Without a running program's path the settings file is looked for in the current folder.
        program = RunningExecutablePath().value_or(program);
    }
    return WithExistingLetterCase(WithSettingsExtension(program));
}

}  // namespace tavlo
