#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavlo::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of `name` inside the folder, as a string.
    std::string File(std::string_view name) const;

private:
    std::filesystem::path path_;
};

// The file-system path of a UTF-8 name (on Windows a std::string path would be read in the
// ANSI code page).
std::filesystem::path PathOf(std::string_view utf8);

// Whole-file helpers that fail the current test (ADD_FAILURE) when the file system does.
void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// The names in a folder, sorted: shows what a save left there.
std::vector<std::string> Names(const std::filesystem::path& folder);

// Sets an environment variable for the lifetime of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);  // value nullptr: unset
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string oldValue_;
    bool hadValue_ = false;
};

}  // namespace tavlo::test
