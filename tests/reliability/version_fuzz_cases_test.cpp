// Version resources of the kinds the version fuzzer's corpus is made of, reduced to readable
// cases: a translation array shorter than one pair, a text whose declared length runs past its
// node, texts with lone UTF-16 surrogates and characters beyond Windows-1252.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/version_info.h"
#include "core/version_resource.h"

namespace tavlo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutWord(Bytes& bytes, std::size_t at, std::uint16_t word) {
    bytes[at] = static_cast<std::uint8_t>(word & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(word >> 8);
}

void PadToFour(Bytes& bytes) {
    while (bytes.size() % 4 != 0) {
        bytes.push_back(0);
    }
}

// One node of a version resource: length, value length, type, UTF-16 key and its zero unit,
// value and children, each part starting on a multiple of four. `declaredValueLength` is what
// the node says about its value (units for a text, bytes otherwise), true or not.
Bytes Node(const std::u16string& key, const Bytes& value, bool text,
           std::uint16_t declaredValueLength, const std::vector<Bytes>& children = {}) {
    Bytes bytes(6, 0);
    for (const char16_t unit : key + u'\0') {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    PadToFour(bytes);
    bytes.insert(bytes.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        PadToFour(bytes);
        bytes.insert(bytes.end(), child.begin(), child.end());
    }
    PutWord(bytes, 0, static_cast<std::uint16_t>(bytes.size()));
    PutWord(bytes, 2, declaredValueLength);
    PutWord(bytes, 4, text ? 1 : 0);
    return bytes;
}

Bytes Utf16(const std::u16string& text) {
    Bytes bytes;
    for (const char16_t unit : text + u'\0') {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

Bytes TextNode(const std::u16string& key, const std::u16string& value) {
    return Node(key, Utf16(value), true, static_cast<std::uint16_t>(value.size() + 1));
}

// A resource with one translation (US English, Unicode) and the given texts in its table.
Bytes Resource(const Bytes& translation, const std::vector<Bytes>& texts) {
    const Bytes table = Node(u"040904B0", {}, true, 0, texts);
    const Bytes strings = Node(u"StringFileInfo", {}, true, 0, {table});
    const Bytes var =
        Node(u"Translation", translation, false, static_cast<std::uint16_t>(translation.size()));
    const Bytes varInfo = Node(u"VarFileInfo", {}, true, 0, {var});
    return Node(u"VS_VERSION_INFO", {}, false, 0, {strings, varInfo});
}

const Bytes kUsEnglishUnicode = {0x09, 0x04, 0xB0, 0x04};

// Hands the bytes to VersionInfo as the running program's resource.
class BytesSource : public VersionResourceSource {
public:
    explicit BytesSource(Bytes bytes) : bytes_(std::move(bytes)) {}
    std::uint32_t GetFileVersionInfoSize(const std::string&) override {
        return static_cast<std::uint32_t>(bytes_.size());
    }
    bool GetFileVersionInfo(const std::string&, std::uint32_t size, std::uint8_t* block) override {
        std::memcpy(block, bytes_.data(), std::min<std::size_t>(size, bytes_.size()));
        return true;
    }
    std::string GetModuleFileName() override { return "/opt/tavlo/tavlo"; }

private:
    Bytes bytes_;
};

TEST(VersionFuzzCases, WellFormedResourceGivesItsTexts) {
    BytesSource source(Resource(kUsEnglishUnicode, {TextNode(u"ProductVersion", u"1, 0, 3, 0")}));
    const VersionInfo info(source);
    EXPECT_EQ(info.GetStatus(), 0);
    EXPECT_EQ(info.GetString("ProductVersion"), "1, 0, 3, 0");
    EXPECT_EQ(info.GetString("PRODUCTVERSION"), "1, 0, 3, 0");
    EXPECT_EQ(info.GetString("FileVersion"), "N.A.");
}

TEST(VersionFuzzCases, TranslationShorterThanOnePairIsNone) {
    BytesSource source(Resource({0x09, 0x04}, {TextNode(u"ProductVersion", u"1")}));
    const VersionInfo info(source);
    EXPECT_EQ(info.GetStatus(), 5);
    EXPECT_STREQ(info.GetMessage(), "Failed to get translation array");
    EXPECT_EQ(info.GetString("ProductVersion"), "*** ERROR ***");
}

TEST(VersionFuzzCases, TextLongerThanItsNodeIsCutAtTheNode) {
    Bytes text = TextNode(u"ProductVersion", u"1, 0");
    PutWord(text, 2, 0x7FFF);  // claims 32767 units
    const Bytes resource = Resource(kUsEnglishUnicode, {text});
    const auto value = VerQueryValue(resource, "\\StringFileInfo\\040904B0\\ProductVersion");
    ASSERT_TRUE(value);
    EXPECT_GE(value->bytes.data(), resource.data());
    EXPECT_LE(value->bytes.data() + value->bytes.size(), resource.data() + resource.size());
    BytesSource source(resource);
    EXPECT_EQ(VersionInfo(source).GetString("ProductVersion"), "1, 0");
}

TEST(VersionFuzzCases, LoneSurrogatesAndForeignCharactersBecomeQuestionMarks) {
    const std::u16string text = {u'1',      0xD800,    u'.',   0xDC00, u'\u00E9',
                                 u'\u20AC', u'\u4E2D', 0xD83D, 0xDE00};
    BytesSource source(Resource(kUsEnglishUnicode, {TextNode(u"Comments", text)}));
    // é and € exist in Windows-1252; the CJK character and the emoji do not.
    EXPECT_EQ(VersionInfo(source).GetString("Comments"), "1?.?\xE9\x80??");
}

}  // namespace
}  // namespace tavlo::test
