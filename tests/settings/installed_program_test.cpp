// An installed program keeps its settings per user, wherever its folder lets it write: below
// every folder the system installs programs into (on Windows also the per-user one the MSI
// installs into), in any letter case Windows takes, and only there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/ascii.h"
#include "core/disk_file.h"
#include "core/file_names.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "support/test_files.h"

namespace tavlo {
namespace {

std::string ProgramIn(const std::string& folder) {
    return NativePathOf(FileSystemPath(folder) / "Tavlo" / "tavlo.exe");
}

#ifdef _WIN32
std::string UpperCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
    return text;
}
#endif

TEST(InstalledProgram, KeepsItsSettingsPerUserAndAPortableCopyBesideItself) {
    const std::string perUser = PerUserSettingsFile().value();
    std::vector<std::string> installed = InstallationFolders();
#ifdef _WIN32
    // Where the MSI installs Tavlo for one user.
    const char* local = std::getenv("LOCALAPPDATA");
    ASSERT_NE(local, nullptr);
    installed.push_back(std::string(local) + "\\Programs");
    installed.push_back(UpperCase(installed.front()));  // Windows finds any spelling
#endif
    ASSERT_FALSE(installed.empty());
    for (const std::string& folder : installed) {
        SCOPED_TRACE(folder);
        EXPECT_TRUE(IsInstalledProgram(ProgramIn(folder)));
        EXPECT_EQ(SettingsFilesToCreate(ProgramIn(folder)), std::vector<std::string>{perUser});
        // A folder whose name only begins like the installation folder's is another folder.
        EXPECT_FALSE(IsInstalledProgram(ProgramIn(folder + "2")));
    }
    test::TempDir dir;
    const std::string portable = NativePathOf(dir.Path() / "tavlo.exe");
    EXPECT_FALSE(IsInstalledProgram(portable));
    EXPECT_EQ(SettingsFilesToCreate(portable),
              (std::vector<std::string>{GetConfigFileName(portable), perUser}));
}

}  // namespace
}  // namespace tavlo
