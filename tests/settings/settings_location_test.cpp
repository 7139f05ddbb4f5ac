// Which settings file a program reads and where a new one goes: beside the program for portable
// use, else in the user's configuration folder. Real folders, real files, real permissions.
#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "support/child_process.h"
#include "support/test_files.h"

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

enum class Place { None, Beside, PerUser };
enum class Folder { Writable, ReadOnly, LinkToUsrBin, UsrBin, Opt };

struct PlaceRow {
    const char* rule;
    Folder folder;
    bool besideFile;
    bool perUserFile;
    Place read;
    Place create;
};

const PlaceRow kPlaceRows[] = {
    {"a file beside the program wins", Folder::Writable, true, true, Place::Beside, Place::Beside},
    {"else the per-user file is read", Folder::Writable, false, true, Place::PerUser,
     Place::Beside},
    {"a folder the user may write to gets the new file", Folder::Writable, false, false,
     Place::None, Place::Beside},
    {"a read-only folder's file is still read", Folder::ReadOnly, true, true, Place::Beside,
     Place::PerUser},
    {"a read-only folder gets no new file", Folder::ReadOnly, false, false, Place::None,
     Place::PerUser},
    {"a program in /usr keeps its settings per user", Folder::UsrBin, false, true, Place::PerUser,
     Place::PerUser},
    {"a program in /opt keeps its settings per user", Folder::Opt, false, false, Place::None,
     Place::PerUser},
    {"a link into /usr is /usr", Folder::LinkToUsrBin, false, false, Place::None, Place::PerUser},
};

// One row's world: the program's folder and a configuration folder, both in `dir`.
struct World {
    std::string program, beside, perUser;
};

World MakeWorld(const TempDir& dir, const PlaceRow& row) {
    World world;
    const std::string bin = dir.File("bin");
    switch (row.folder) {
        case Folder::Writable:
        case Folder::ReadOnly:
            fs::create_directory(bin);
            break;
        case Folder::LinkToUsrBin:
            fs::create_directory_symlink("/usr/bin", bin);
            break;
        case Folder::UsrBin:
        case Folder::Opt:
            break;
    }
    world.program = row.folder == Folder::UsrBin ? "/usr/bin/tavlo"
                    : row.folder == Folder::Opt  ? "/opt/tavlo/bin/tavlo"
                                                 : bin + "/tavlo";
    world.beside = GetConfigFileName(world.program);
    if (row.besideFile) {
        WriteFile(world.beside, "[Patch]\nL1 = beside\n");
    }
    world.perUser = dir.File("config/tavlo/tavlo.cfg");
    if (row.perUserFile) {
        fs::create_directories(dir.File("config/tavlo"));
        WriteFile(world.perUser, "[Patch]\nL1 = per user\n");
    }
    if (row.folder == Folder::ReadOnly) {
        // Another user may look into the test's folder, but not write into the program's.
        fs::permissions(dir.Path(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    }
    return world;
}

std::string PathOf(Place place, const World& world) {
    switch (place) {
        case Place::Beside:
            return world.beside;
        case Place::PerUser:
            return world.perUser;
        case Place::None:
            break;
    }
    return "none";
}

// What the rule and the reader say, one line each; in a read-only folder as a user that the
// file permissions apply to.
std::string Observe(const World& world, bool unprivileged) {
    const auto observe = [&world] {
        const Settings loaded = LoadConfig(world.program);
        const char* owner = loaded.GetConfigString("Patch", "L1", "default");
        return "read " + SettingsFileToRead(world.program).value_or("none") + "\nloaded " +
               loaded.Path().value_or("none") + " with L1 = " + owner + "\ncreate " +
               SettingsFileToCreate(world.program) + "\n";
    };
    return unprivileged ? RunInChild(observe, true).value_or("cannot become another user")
                        : observe();
}

TEST(SettingsLocationTest, ReadAndCreatePlacesFollowTheProgramsFolder) {
    for (const PlaceRow& row : kPlaceRows) {
        SCOPED_TRACE(row.rule);
        TempDir dir;
        const ScopedEnv config("XDG_CONFIG_HOME", dir.File("config").c_str());
        const World world = MakeWorld(dir, row);
        const std::string owner = row.read == Place::Beside    ? "beside"
                                  : row.read == Place::PerUser ? "per user"
                                                               : "default";
        const std::string read = PathOf(row.read, world);
        EXPECT_EQ(Observe(world, row.folder == Folder::ReadOnly),
                  "read " + read + "\nloaded " + read + " with L1 = " + owner + "\ncreate " +
                      PathOf(row.create, world) + "\n");
    }
}

struct PerUserRow {
    const char* rule;
    const char* configHome;  // nullptr: unset
    const char* home;        // nullptr: unset
    const char* expected;    // nullptr: the user database's home folder
};

const PerUserRow kPerUserRows[] = {
    {"XDG_CONFIG_HOME names the folder", "/cfg", "/home/ann", "/cfg/tavlo/tavlo.cfg"},
    {"an empty XDG_CONFIG_HOME is unset", "", "/home/ann", "/home/ann/.config/tavlo/tavlo.cfg"},
    {"a relative XDG_CONFIG_HOME is ignored", "cfg", "/home/ann",
     "/home/ann/.config/tavlo/tavlo.cfg"},
    {"without HOME the user database tells", nullptr, nullptr, nullptr},
};

TEST(SettingsLocationTest, PerUserFileFollowsTheConfigurationFolderRules) {
    for (const PerUserRow& row : kPerUserRows) {
        SCOPED_TRACE(row.rule);
        const ScopedEnv config("XDG_CONFIG_HOME", row.configHome);
        const ScopedEnv home("HOME", row.home);
        const std::string expected =
            row.expected ? row.expected
                         : std::string(::getpwuid(::getuid())->pw_dir) + "/.config/tavlo/tavlo.cfg";
        EXPECT_EQ(PerUserSettingsFile(), expected);
    }
}

}  // namespace
}  // namespace tavlo::test
