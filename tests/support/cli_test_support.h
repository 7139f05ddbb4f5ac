#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/test_files.h"

namespace tavlo::test {

// Runs the real tavlo-cli of this build. The locale is fixed to English unless `env` says
// otherwise, so the default search text is "WARNING".
inline ProcessResult RunCli(const std::vector<std::string>& args, std::vector<std::string> env = {},
                            unsigned timeLimitSeconds = 0) {
    env.insert(env.begin(), {"LC_ALL=", "LC_MESSAGES=", "LANG=en_US.UTF-8"});
    return RunProcess(TAVLO_CLI_PATH, args, env, timeLimitSeconds);
}

// A copy of tavlo-cli inside `dir`, so that the settings file beside it is under the test's
// control.
inline std::string CopyCliInto(const TempDir& dir) {
    const std::string copy = dir.File(std::filesystem::path(TAVLO_CLI_PATH).filename().string());
    std::filesystem::copy_file(TAVLO_CLI_PATH, copy);
    return copy;
}

// A file name as tavlo-cli prints it: a Windows path with its folder separators as they are,
// never doubled (the test's paths hold no character that needs an escape).
inline std::string ShownPath(const std::string& path) {
    return path;
}

// A settings file with the given lines, CR LF ended.
inline std::string SettingsText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

}  // namespace tavlo::test
