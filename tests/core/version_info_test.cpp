// The version reader: the program's own resource, every status, the first translation, and
// malformed resources that must never be read outside their bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/embedded_resources.h"
#include "core/version_info.h"
#include "core/version_resource.h"
#include "core/version_resource_writer.h"

namespace tavlo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A resource source that hands out given bytes for the running program, and fails where told.
class FakeSource : public VersionResourceSource {
public:
    explicit FakeSource(Bytes bytes) : bytes_(std::move(bytes)) {}

    std::uint32_t GetFileVersionInfoSize(const std::string& fileName) override {
        askedFor = fileName;
        return sizeOverride ? *sizeOverride : static_cast<std::uint32_t>(bytes_.size());
    }
    bool GetFileVersionInfo(const std::string&, std::uint32_t size, std::uint8_t* block) override {
        if (failCopy) {
            return false;
        }
        std::memcpy(block, bytes_.data(), std::min<std::size_t>(size, bytes_.size()));
        return true;
    }
    std::string GetModuleFileName() override { return "/opt/tavlo/tavlo"; }
    std::unique_ptr<std::uint8_t[]> AllocateBlock(std::uint32_t size) override {
        return failAllocation ? nullptr : VersionResourceSource::AllocateBlock(size);
    }

    std::optional<std::uint32_t> sizeOverride;
    bool failAllocation = false;
    bool failCopy = false;
    std::string askedFor;

private:
    Bytes bytes_;
};

Bytes ProgramResourceBytes() {
    const auto resource = FindResource("#1", "16");
    return resource ? Bytes(resource->begin(), resource->end()) : Bytes();
}

std::uint32_t DoubleWordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
    }
    return value;
}

TEST(VersionInfo, TheProgramsOwnResourceGivesItsTexts) {
    const VersionInfo info;
    EXPECT_EQ(info.GetStatus(), 0);
    EXPECT_STREQ(info.GetMessage(), "No Error");
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"ProductVersion", "1, 0, 3, 0"},
             {"FileVersion", "1, 0, 3, 0"},
             {"FileDescription", "Tavlo firmware patcher"},
             {"InternalName", "Tavlo"},
             {"ProductName", "Tavlo"},
             {"OriginalFilename", "Tavlo.EXE"},
             {"Comments", ""},                  // present and empty
             {"productversion", "1, 0, 3, 0"},  // names ignore case
             {"NoSuchString", "N.A."},
             {std::string(1000, 'P'), "N.A."}}) {
        EXPECT_EQ(info.GetString(name), value) << name.substr(0, 20);
    }
    EXPECT_EQ(GetProductVersion(), "1, 0, 3, 0");
}

TEST(VersionInfo, TheFixedPartAndTheTranslationOfTheProgramsResource) {
    const Bytes bytes = ProgramResourceBytes();
    const auto fixed = VerQueryValue(bytes, "\\");
    ASSERT_TRUE(fixed);
    ASSERT_EQ(fixed->bytes.size(), 52u);
    // Signature, file and product version 1.0.3.0, flags mask and flags, 32-bit Windows,
    // an application.
    const std::uint32_t words[] = {
        0xFEEF04BDu, 0, 0x00010000u, 0x00030000u, 0x00010000u, 0x00030000u, 0x3Fu, 0, 4, 1, 0};
    for (std::size_t i = 0; i < std::size(words); ++i) {
        if (i != 1) {  // the structure's version
            EXPECT_EQ(DoubleWordAt(fixed->bytes, 4 * i), words[i]) << "word " << i;
        }
    }
    const auto translation = VerQueryValue(bytes, "\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    ASSERT_EQ(translation->bytes.size(), 4u);
    EXPECT_EQ(DoubleWordAt(translation->bytes, 0), (1200u << 16) | 0x0409u);
}

// Each way a reading fails, with its status and message; every string then reads as the error.
TEST(VersionInfo, AFailedReadingHasItsStatusAndEveryStringIsTheError) {
    struct Row {
        const char* rule;
        std::function<void(FakeSource&, Bytes&)> spoil;
        int status;
        const char* message;
    };
    const auto translationNode = [](const Bytes& bytes) {
        // The value length word sits 2 bytes into the node; the node starts 6 + 24 + 2 bytes
        // (header, "Translation" and its zero, padding) before its value.
        const auto value = VerQueryValue(bytes, "\\VarFileInfo\\Translation");
        return static_cast<std::size_t>(value->bytes.data() - bytes.data()) - 32;
    };
    const Row rows[] = {
        {"no size", [](FakeSource& s, Bytes&) { s.sizeOverride = 0; }, 2,
         "GetFileVersionInfoSize failed"},
        {"no memory", [](FakeSource& s, Bytes&) { s.failAllocation = true; }, 3, "Out of memory"},
        {"no copy", [](FakeSource& s, Bytes&) { s.failCopy = true; }, 4,
         "Failed to retrieve file version info"},
        {"the translation's key misspelt",
         [](FakeSource&, Bytes& b) {
             const Bytes key = {'T', 0, 'r', 0, 'a', 0, 'n', 0, 's', 0};
             *std::search(b.begin(), b.end(), key.begin(), key.end()) = 'X';
         },
         5, "Failed to get translation array"},
        {"a translation array too short for one pair (a lookup would read beyond it)",
         [&](FakeSource&, Bytes& b) { b[translationNode(b) + 2] = 2; }, 5,
         "Failed to get translation array"},
        {"the root longer than its bytes", [](FakeSource&, Bytes& b) { b[0] = b[1] = 0xFF; }, 5,
         "Failed to get translation array"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        Bytes bytes = ProgramResourceBytes();
        FakeSource probe(bytes);
        row.spoil(probe, bytes);
        FakeSource source(bytes);
        source.sizeOverride = probe.sizeOverride;
        source.failAllocation = probe.failAllocation;
        source.failCopy = probe.failCopy;
        const VersionInfo info(source);
        EXPECT_EQ(source.askedFor, "/opt/tavlo/tavlo");  // the running program's file
        EXPECT_EQ(info.GetStatus(), row.status);
        EXPECT_STREQ(info.GetMessage(), row.message);
        for (const char* name : {"ProductVersion", "NoSuchString", ""}) {
            EXPECT_EQ(info.GetString(name), "*** ERROR ***");  // never "N.A." without a resource
        }
    }
    VersionInfo reset;
    reset.Reset(false);
    EXPECT_EQ(reset.GetStatus(), 1);
    EXPECT_STREQ(reset.GetMessage(), "Object not initialized");
    EXPECT_FALSE(reset.Load("/no/such/program"));
    EXPECT_EQ(reset.GetStatus(), 2);
}

// The first translation pair chooses the string table; a block name matches in either case.
TEST(VersionInfo, TheFirstTranslationChoosesTheStrings) {
    struct Row {
        const char* rule;
        std::function<void(VersionResourceContent&)> change;
        const char* productVersion;
    };
    const Row rows[] = {
        {"German first", [](VersionResourceContent&) {}, "zwei"},
        {"English first",
         [](VersionResourceContent& c) { std::swap(c.translations[0], c.translations[1]); }, "two"},
        {"a block name in capitals",
         [](VersionResourceContent& c) {
             c.translations = {{0x0409, 1200}};
             c.stringTables[1].blockName = "040904B0";
         },
         "two"},
        {"no table for the translation",
         [](VersionResourceContent& c) {
             c.translations = {{0x040C, 1200}};
         },
         "N.A."},
        {"no product version in the table",
         [](VersionResourceContent& c) {
             c.stringTables[0].strings = {{"ProductName", "Tavlo"}};
         },
         "N.A."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        VersionResourceContent content = ProgramVersionContent({2, 1, 0, 7});
        content.translations = {{0x0407, 1252}, {0x0409, 1200}};
        content.stringTables = {{"040704E4", {{"ProductVersion", "zwei"}}},
                                {"040904b0", {{"ProductVersion", "two"}}}};
        row.change(content);
        FakeSource source(WriteVersionResource(content));
        const VersionInfo info(source);
        EXPECT_EQ(info.GetStatus(), 0);
        EXPECT_EQ(info.GetString("ProductVersion"), row.productVersion);
    }
}

// Every query the program makes, and a few more, on `bytes`: whatever is found lies inside them.
bool QueriesStayInside(const Bytes& bytes) {
    const std::span<const std::uint8_t> block(bytes);
    for (const char* path :
         {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904B0\\ProductVersion",
          "\\StringFileInfo\\040904b0\\Comments", "\\StringFileInfo", "\\\\x\\", ""}) {
        const auto value = VerQueryValue(block, path);
        if (value && !value->bytes.empty() &&
            (value->bytes.data() < block.data() ||
             value->bytes.data() + value->bytes.size() > block.data() + block.size())) {
            return false;
        }
    }
    FakeSource source(bytes);
    const VersionInfo info(source);
    return info.GetStatus() == 0 || info.GetString("ProductVersion") == "*** ERROR ***";
}

// Every byte of the program's resource set to values that break lengths, keys and alignment,
// and the resource cut at every length: nothing is read outside the block (the sanitizer build
// checks every access).
TEST(VersionInfo, CorruptedResourcesAreNeverReadOutsideTheirBytes) {
    const Bytes original = ProgramResourceBytes();
    ASSERT_FALSE(original.empty());
    for (std::size_t at = 0; at < original.size(); ++at) {
        for (const std::uint8_t value : {0x00, 0x01, 0x05, 0x7F, 0xFF}) {
            Bytes bytes = original;
            bytes[at] = value;
            ASSERT_TRUE(QueriesStayInside(bytes)) << "byte " << at << " set to " << int{value};
        }
    }
    for (std::size_t size = 0; size < original.size(); ++size) {
        ASSERT_TRUE(QueriesStayInside(Bytes(original.begin(), original.begin() + size)))
            << "cut at " << size;
    }
}

}  // namespace
}  // namespace tavlo
