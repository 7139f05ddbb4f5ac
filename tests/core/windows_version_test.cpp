// The program's real version resource, as windres compiled it into this test, read through the
// system's version interface: the portable reader finds what VerQueryValueW finds.
#include "core/windows/windows_api.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/embedded_resources.h"
#include "core/version_info.h"
#include "core/version_resource.h"
#include "core/version_resource_writer.h"
#include "core/windows/win_io.h"

namespace tavlo::test {
namespace {

// The text of UTF-16 units up to their zero (or `units` of them), as ASCII.
std::string Ascii(const std::uint8_t* bytes, std::size_t units) {
    std::string text;
    for (std::size_t i = 0; i < units; ++i) {
        const unsigned unit = bytes[2 * i] | bytes[2 * i + 1] << 8;
        if (unit == 0) {
            break;
        }
        text += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return text;
}

TEST(WindowsVersionResource, ThePortableReaderFindsWhatVerQueryValueFinds) {
    VersionResourceSource& source = ProgramVersionResource();
    const std::string program = source.GetModuleFileName();
    const std::uint32_t size = source.GetFileVersionInfoSize(program);
    ASSERT_GT(size, 0u) << program;
    const auto block = std::make_unique<std::uint8_t[]>(size);
    ASSERT_TRUE(source.GetFileVersionInfo(program, size, block.get()));

    // Every text the program's resource holds (the content's keys, not a copy of them), the
    // translation array, the fixed part, a key in other case and one that is not there.
    std::vector<std::string> paths = {"\\", "\\VarFileInfo\\Translation",
                                      "\\varfileinfo\\TRANSLATION",
                                      "\\StringFileInfo\\040904b0\\NoSuchText"};
    for (const VersionStringTable& table : ProgramVersionContent({}).stringTables) {
        for (const auto& [key, value] : table.strings) {
            paths.push_back("\\StringFileInfo\\" + table.blockName + "\\" + key);
        }
    }
    ASSERT_GT(paths.size(), 10u);
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        void* found = nullptr;
        UINT length = 0;
        const bool system =
            VerQueryValueW(block.get(), Wide(path).c_str(), &found, &length) && found != nullptr;
        const std::optional<VersionValue> value = VerQueryValue({block.get(), size}, path);
        ASSERT_EQ(value.has_value(), system);
        if (!value) {
            continue;
        }
        EXPECT_EQ(value->bytes.data(), found) << "another place in the block";
        if (value->isText) {
            // The system counts a text's length in UTF-16 units.
            EXPECT_EQ(Ascii(value->bytes.data(), value->bytes.size() / 2),
                      Ascii(static_cast<const std::uint8_t*>(found), length));
        } else {
            EXPECT_EQ(value->bytes.size(), length);
        }
    }
}

TEST(WindowsVersionResource, TheProductVersionIsTheProjectVersion) {
    EXPECT_EQ(GetProductVersion(), TAVLO_VERSION_TEXT);
}

// windres compiled the statement make_version_resource wrote from the same content whose bytes
// the Linux build carries: the two resources are one.
TEST(WindowsVersionResource, IsTheResourceTheLinuxBuildCarries) {
    const std::optional<std::span<const std::uint8_t>> resource = FindResource("#1", "16");
    ASSERT_TRUE(resource);
    const std::vector<std::uint8_t> linuxResource =
        WriteVersionResource(ProgramVersionContent({TAVLO_VERSION_NUMBERS}));
    EXPECT_EQ(std::vector<std::uint8_t>(resource->begin(), resource->end()), linuxResource);
}

}  // namespace
}  // namespace tavlo::test
