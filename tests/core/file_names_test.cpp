// File names outside ASCII, as users in Western Europe have them: found by a wildcard, and
// written to, through their UTF-8 spelling on every platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_names.h"
#include "support/test_files.h"

namespace tavlo {
namespace {

TEST(FileNames, AFolderAndAFileOutsideAsciiAreFoundByTheirPattern) {
    test::TempDir dir;
    const std::string folder = dir.File("dossier \xc3\xa9t\xc3\xa9");  // "dossier été", UTF-8
    std::filesystem::create_directory(FileSystemPath(folder));
    test::WriteFile(folder + "/\xc3\xa9t\xc3\xa9.rgn", "firmware");
    test::WriteFile(folder + "/b.txt", "not firmware");
    const std::string fieldFolder = FieldTextOfPath(folder).value();
    // Windows takes "\\" between folders as well as "/".
    const std::vector<std::string> separators =
        kNamesIgnoreCase ? std::vector<std::string>{"/", "\\"} : std::vector<std::string>{"/"};
    for (const std::string& separator : separators) {
        SCOPED_TRACE(separator);
        EXPECT_EQ(FirstMatchingFile(fieldFolder + separator + "*.rgn"),
                  fieldFolder + separator + "\xe9t\xe9.rgn");
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
             // Only ASCII letters fold: Windows-1252's Ü and ü are two letters.
             Row{"\xDC*",
                 "\xDC"
                 "ber",
                 true},
             Row{"\xFC*",
                 "\xDC"
                 "ber",
                 false},
         }) {
        SCOPED_TRACE(std::string(row.pattern) + " " + row.name);
        EXPECT_EQ(WildcardMatch(row.pattern, row.name), row.matches);
    }
}

TEST(FileNames, TheFirstMatchingFileInByteOrderSkipsNamesWindows1252CannotSpell) {
    test::TempDir dir;
    const std::string folder = FieldTextOfPath(dir.Path().string()).value();
    for (const char* name : {"b.rgn", "B.rgn", "a.txt", "\xCE\xA9.rgn", "\xC3\xA9t\xC3\xA9.rgn"}) {
        test::WriteFile(dir.File(name), "");
    }
    // Upper case sorts first, byte by byte; where the system ignores case, B.rgn is b.rgn.
    const std::string first = folder + (kNamesIgnoreCase ? "/b.rgn" : "/B.rgn");
    EXPECT_EQ(FirstMatchingFile(folder + "/*.RGN"), first);
    EXPECT_EQ(FirstMatchingFile(folder + "/?.rgn"), first);
    EXPECT_EQ(FirstMatchingFile(folder + "/\xE9*"), folder + "/\xE9t\xE9.rgn");  // not the Omega
    EXPECT_EQ(FirstMatchingFile(folder + "/*.bin"), std::nullopt);
    EXPECT_EQ(FirstMatchingFile(folder + "/missing/*.rgn"), std::nullopt);
    EXPECT_EQ(FirstMatchingFile(folder + "/"), std::nullopt);
}

TEST(FileNames, FieldTextAndFileSystemNamesConvertBothWays) {
    EXPECT_EQ(NativePath("M\xFCller.rgn"), "M\xC3\xBCller.rgn");
    EXPECT_EQ(FieldTextOfPath("M\xC3\xBCller.rgn"), "M\xFCller.rgn");
    EXPECT_EQ(FieldTextOfPath("\xCE\xA9"), std::nullopt);  // no Windows-1252 byte
    EXPECT_EQ(FieldTextOfPath("\xFF\xFE"), std::nullopt);  // not UTF-8 at all
}

}  // namespace
}  // namespace tavlo
