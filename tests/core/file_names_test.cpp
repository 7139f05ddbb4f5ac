// File names in any script: found by a wildcard through their UTF-8 spelling on every platform,
// and shown in a message box as they are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_names.h"
#include "support/test_files.h"

namespace tavlo {
namespace {

TEST(FileNames, AFolderAndAFileInAnyScriptAreFoundByTheirPattern) {
    test::TempDir dir;
    const std::string folder = dir.File(
        "\xC5\x81\xC3\xB3"
        "d\xC5\xBA");                                         // "Łódź"
    const std::string name = "\xCE\xA9mega \xC3\xBCnit.rgn";  // "Ωmega ünit.rgn"
    std::filesystem::create_directory(FileSystemPath(folder));
    test::WriteFile(folder + "/" + name, "firmware");
    test::WriteFile(folder + "/b.txt", "not firmware");
    // Windows takes "\\" between folders as well as "/".
    const std::vector<std::string> separators =
        kNamesIgnoreCase ? std::vector<std::string>{"/", "\\"} : std::vector<std::string>{"/"};
    for (const std::string& separator : separators) {
        SCOPED_TRACE(separator);
        EXPECT_EQ(FirstMatchingFile(folder + separator + "*.rgn"), folder + separator + name);
    }
    EXPECT_EQ(NativePathOf(FileSystemPath(folder)), folder);
}

TEST(FileNames, WildcardsMatchAsTheDesktopsFileDialogsDo) {
    struct Row {
        const char* pattern;
        const char* name;
        bool matches;
    };
    for (const Row& row : {
             Row{"*.rgn", "a.rgn", true},
             Row{"*.rgn", "A.RGN", true},
             Row{"*.rgn", "a.rgnx", false},
             Row{"*.rgn", ".rgn", true},
             Row{"?.rgn", "ab.rgn", false},
             Row{"gps_??.rgn", "GPS_42.rgn", true},
             Row{"*_*.rgn", "a_b_c.rgn", true},
             Row{"*ab*ab", "xabyabab", true},
             Row{"fw.rgn", "fw.rgn", true},
             Row{"fw.rgn", "fw2.rgn", false},
             Row{"[a].rgn", "a.rgn", false},
             Row{"*", "", true},
             Row{"a*", "abc", true},
             // "?" is one character, however many bytes it takes: a Polish letter, an emoji,
             // a byte of a Linux name that is not UTF-8.
             Row{"?.rgn", "\xC5\x81.rgn", true},
             Row{"??.rgn", "\xC5\x81.rgn", false},
             Row{"?", "\xF0\x9F\x9B\xB0", true},
             Row{"caf?.rgn", "caf\xE9.rgn", true},
             // Only ASCII letters fold: Ü and ü are two letters.
             Row{"\xC3\x9C*",
                 "\xC3\x9C"
                 "ber",
                 true},
             Row{"\xC3\xBC*",
                 "\xC3\x9C"
                 "ber",
                 false},
         }) {
        SCOPED_TRACE(std::string(row.pattern) + " " + row.name);
        EXPECT_EQ(WildcardMatch(row.pattern, row.name), row.matches);
    }
}

TEST(FileNames, TheFirstMatchingFileComesInByteOrder) {
    test::TempDir dir;
    const std::string folder = dir.Path().string();
    for (const char* name : {"b.rgn", "B.rgn", "a.txt", "\xCE\xA9.rgn", "\xC3\xA9t\xC3\xA9.rgn"}) {
        test::WriteFile(dir.File(name), "");
    }
    // Upper case sorts first, byte by byte; where the system ignores case, B.rgn is b.rgn.
    const std::string first = folder + (kNamesIgnoreCase ? "/b.rgn" : "/B.rgn");
    EXPECT_EQ(FirstMatchingFile(folder + "/*.RGN"), first);
    EXPECT_EQ(FirstMatchingFile(folder + "/?.rgn"), first);
    EXPECT_EQ(FirstMatchingFile(folder + "/\xCE\xA9*"), folder + "/\xCE\xA9.rgn");
    EXPECT_EQ(FirstMatchingFile(folder + "/*.bin"), std::nullopt);
    EXPECT_EQ(FirstMatchingFile(folder + "/missing/*.rgn"), std::nullopt);
    EXPECT_EQ(FirstMatchingFile(folder + "/"), std::nullopt);
}

TEST(FileNames, AMessageBoxShowsANameAsItIsOnItsOwnLine) {
    struct Row {
        const char* name;
        const char* shown;
    };
    for (const Row& row : {
             Row{"/gps/\xC5\x81\xC3\xB3"
                 "d\xC5\xBA/\xF0\x9F\x9B\xB0.rgn",
                 "/gps/\xC5\x81\xC3\xB3"
                 "d\xC5\xBA/\xF0\x9F\x9B\xB0.rgn"},
             Row{"a\nb\tc\x7F.rgn",
                 "a\xE2\x90\x8A"
                 "b\xE2\x90\x89"
                 "c\xE2\x90\xA1.rgn"},
             Row{"caf\xE9.rgn", "caf\xEF\xBF\xBD.rgn"},  // not UTF-8: U+FFFD
             Row{"\xC2\x85", "\xEF\xBF\xBD"},            // a C1 control
         }) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PathForMessageBox(row.name), row.shown);
    }
}

}  // namespace
}  // namespace tavlo
