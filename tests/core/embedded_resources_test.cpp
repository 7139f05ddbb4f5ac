#include "core/embedded_resources.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/test_files.h"

namespace tavlo::test {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Every file the build's resource list (written from resources/CMakeLists.txt) names for the
// program is found by its name and type, given in small letters.
TEST(FindResource, FindsEveryListedFileByNameAndTypeInAnyCase) {
    std::istringstream list(ReadFile(TAVLO_RESOURCE_LIST));
    int found = 0;
    for (std::string line; std::getline(list, line);) {
        SCOPED_TRACE(line);
        const std::size_t first = line.find('|');
        const std::size_t second = line.find('|', first + 1);
        ASSERT_NE(second, std::string::npos);
        const std::string type = line.substr(0, first);
        const std::string name = line.substr(first + 1, second - first - 1);
        if (type == "ICON" || type == "24") {
            continue;  // the icon and the manifest are for Windows itself
        }
        const auto resource = FindResource(Lower(name), Lower(type));
        ASSERT_TRUE(resource);
        ++found;
        // The bitmap and the version are compiled from their files on Windows; their bytes have
        // tests of their own (tests/screen, tests/core/windows_version_test.cpp).
        if (type != "BITMAP" && type != "16") {
            const std::string file = ReadFile(line.substr(second + 1));
            EXPECT_EQ(std::string(resource->begin(), resource->end()), file);
        }
    }
    EXPECT_GE(found, 3);
}

}  // namespace
}  // namespace tavlo::test
