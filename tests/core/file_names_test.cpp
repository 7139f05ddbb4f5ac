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

}  // namespace
}  // namespace tavlo
