#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "core/firmware_image.h"
#include "support/test_files.h"

// What every fault test needs: a firmware file with a message to patch, folders on small file
// systems of their own, and a look at what a save left in a folder.
namespace tavlo::test {

inline constexpr std::string_view kSearchText = "WARNING";
inline constexpr std::string_view kMessage = "WARNING: this unit is not for sale";
inline constexpr std::string_view kOwnerText = "Terry N. Owner\n(555) 31122000\n";

// `size` bytes of varied content (zero bytes included) with kMessage and its zero byte at
// `messageOffset`. The same size and offset always give the same bytes.
std::string FirmwareBytes(std::size_t size, std::size_t messageOffset = 4096);

// The bytes after the message at `messageOffset` was replaced by `text`, fitted to its length.
std::string PatchedBytes(std::string bytes, std::string_view text = kOwnerText,
                         std::size_t messageOffset = 4096);

// The names of temporary files ("*.tavlo-*") in a folder.
std::vector<std::string> TemporaryNames(const std::filesystem::path& folder);

// A tmpfs of its own mounted on a new folder `name` inside `parent`, unmounted again at the end.
// Needs the administrator; Mounted() says whether it worked (tests skip when not).
class MountedFolder {
public:
    MountedFolder(const TempDir& parent, std::string_view name, std::size_t bytes);
    ~MountedFolder();
    MountedFolder(const MountedFolder&) = delete;
    MountedFolder& operator=(const MountedFolder&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

    // Mounts it again read-only (true) or writable (false); false when that fails.
    bool SetReadOnly(bool readOnly);
    // Fills the file system up to its last byte with the file `name`. Returns its size.
    std::size_t Fill(std::string_view name);

private:
    std::string path_;
    std::string options_;
    bool mounted_ = false;
};

// Loads `path`, locates kSearchText and writes kOwnerText over the message; fails the test when
// any step does.
void LoadAndPatch(FirmwareImage& image, const std::string& path);

}  // namespace tavlo::test
