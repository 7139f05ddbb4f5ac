// The version reader: the program's own resource, every status, the first translation, and
// malformed resources that must never be read outside their bytes.
#include <QTest>
#include <cstring>

#include "core/embedded_resources.h"
#include "core/version_info.h"
#include "core/version_resource.h"
#include "core/version_resource_writer.h"
#include "support/qt/test_registry.h"

namespace tavlo::test {

namespace {

using namespace std::string_literals;

// A resource source that hands out given bytes for the running program, and fails where told.
class FakeSource : public VersionResourceSource {
public:
    explicit FakeSource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

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
        if (failAllocation) {
            return nullptr;
        }
        return VersionResourceSource::AllocateBlock(size);
    }

    std::optional<std::uint32_t> sizeOverride;
    bool failAllocation = false;
    bool failCopy = false;
    std::string askedFor;

private:
    std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> ProgramResourceBytes() {
    const auto resource = FindResource("#1", "16");
    if (!resource) {
        return {};
    }
    return {resource->begin(), resource->end()};
}

VersionResourceContent TwoLanguageContent() {
    VersionResourceContent content = ProgramVersionContent({2, 1, 0, 7});
    content.translations = {{0x0407, 1252}, {0x0409, 1200}};
    content.stringTables = {{"040704E4", {{"ProductVersion", "zwei"}}},
                            {"040904b0", {{"ProductVersion", "two"}}}};
    return content;
}

std::uint32_t DoubleWordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
    }
    return value;
}

// Every query the program makes, and a few more, on `bytes`: whatever is found lies inside.
void QueryEverything(const std::vector<std::uint8_t>& bytes) {
    const std::span<const std::uint8_t> block(bytes);
    for (const char* path :
         {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904B0\\ProductVersion",
          "\\StringFileInfo\\040904b0\\Comments", "\\StringFileInfo", "\\\\x\\", ""}) {
        if (const auto value = VerQueryValue(block, path)) {
            QVERIFY(value->bytes.empty() ||
                    (value->bytes.data() >= block.data() &&
                     value->bytes.data() + value->bytes.size() <= block.data() + block.size()));
        }
    }
    FakeSource source(bytes);
    const VersionInfo info(source);
    const std::string version = info.GetString("ProductVersion");
    QVERIFY(info.GetStatus() == 0 || version == "*** ERROR ***");
}

}  // namespace

class VersionInfoTest : public QObject {
    Q_OBJECT

private slots:
    void programResourceGivesItsTexts() {
        const VersionInfo info;
        QCOMPARE(info.GetStatus(), 0);
        QCOMPARE(info.GetMessage(), "No Error");
        QCOMPARE(info.GetString("ProductVersion"), "1, 0, 3, 0"s);
        QCOMPARE(info.GetString("FileVersion"), "1, 0, 3, 0"s);
        QCOMPARE(info.GetString("FileDescription"), "Tavlo firmware patcher"s);
        QCOMPARE(info.GetString("InternalName"), "Tavlo"s);
        QCOMPARE(info.GetString("ProductName"), "Tavlo"s);
        QCOMPARE(info.GetString("OriginalFilename"), "Tavlo.EXE"s);
        QCOMPARE(info.GetString("Comments"), ""s);  // present and empty
        QCOMPARE(info.GetString("CompanyName"), ""s);
        QCOMPARE(info.GetString("productversion"), "1, 0, 3, 0"s);  // keys ignore case
        QCOMPARE(info.GetString("NoSuchString"), "N.A."s);
    }

    void productVersionIsCachedText() {
        QCOMPARE(GetProductVersion(), "1, 0, 3, 0"s);
        QCOMPARE(GetProductVersion(), "1, 0, 3, 0"s);
    }

    void programResourceFixedPart() {
        const std::vector<std::uint8_t> bytes = ProgramResourceBytes();
        QVERIFY(!bytes.empty());
        const auto fixed = VerQueryValue(bytes, "\\");
        QVERIFY(fixed);
        QCOMPARE(fixed->bytes.size(), std::size_t{52});
        QCOMPARE(DoubleWordAt(fixed->bytes, 0), 0xFEEF04BDu);
        QCOMPARE(DoubleWordAt(fixed->bytes, 8), 0x00010000u);   // file version 1.0
        QCOMPARE(DoubleWordAt(fixed->bytes, 12), 0x00030000u);  // .3.0
        QCOMPARE(DoubleWordAt(fixed->bytes, 16), 0x00010000u);  // product version 1.0
        QCOMPARE(DoubleWordAt(fixed->bytes, 20), 0x00030000u);
        QCOMPARE(DoubleWordAt(fixed->bytes, 24), 0x3Fu);  // flags mask
        QCOMPARE(DoubleWordAt(fixed->bytes, 28), 0u);     // flags
        QCOMPARE(DoubleWordAt(fixed->bytes, 32), 4u);     // 32-bit Windows
        QCOMPARE(DoubleWordAt(fixed->bytes, 36), 1u);     // application
        QCOMPARE(DoubleWordAt(fixed->bytes, 40), 0u);

        const auto translation = VerQueryValue(bytes, "\\VarFileInfo\\Translation");
        QVERIFY(translation);
        QCOMPARE(translation->bytes.size(), std::size_t{4});
        QCOMPARE(DoubleWordAt(translation->bytes, 0), (1200u << 16) | 0x0409u);
    }

    void resetObjectIsNotInitialized() {
        VersionInfo info;
        info.Reset(false);
        QCOMPARE(info.GetStatus(), 1);
        QCOMPARE(info.GetMessage(), "Object not initialized");
        QCOMPARE(info.GetString("ProductVersion"), "*** ERROR ***"s);
    }

    void otherFilesHaveNoResourceHere() {
        VersionInfo info;
        info.Reset(false);
        QVERIFY(!info.Load("/bin/sh"));
        QCOMPARE(info.GetStatus(), 2);
        QCOMPARE(info.GetMessage(), "GetFileVersionInfoSize failed");
    }

    void sizeZeroIsStatus2() {
        FakeSource source(ProgramResourceBytes());
        source.sizeOverride = 0;
        const VersionInfo info(source);
        QCOMPARE(source.askedFor, "/opt/tavlo/tavlo"s);  // the running program's file
        QCOMPARE(info.GetStatus(), 2);
        QCOMPARE(info.GetMessage(), "GetFileVersionInfoSize failed");
        // Never "N.A." without a resource: every name gives the error text.
        for (const char* name : {"ProductVersion", "NoSuchString", ""}) {
            QCOMPARE(info.GetString(name), "*** ERROR ***"s);
        }
    }

    void allocationFailureIsStatus3() {
        FakeSource source(ProgramResourceBytes());
        source.failAllocation = true;
        const VersionInfo info(source);
        QCOMPARE(info.GetStatus(), 3);
        QCOMPARE(info.GetMessage(), "Out of memory");
        QCOMPARE(info.GetString("ProductVersion"), "*** ERROR ***"s);
    }

    void copyFailureIsStatus4() {
        FakeSource source(ProgramResourceBytes());
        source.failCopy = true;
        const VersionInfo info(source);
        QCOMPARE(info.GetStatus(), 4);
        QCOMPARE(info.GetMessage(), "Failed to retrieve file version info");
        QCOMPARE(info.GetString("ProductVersion"), "*** ERROR ***"s);
    }

    void missingTranslationIsStatus5() {
        VersionResourceContent content = ProgramVersionContent({1, 0, 3, 0});
        content.translations.clear();
        FakeSource source(WriteVersionResource(content));
        const VersionInfo info(source);
        QCOMPARE(info.GetStatus(), 5);
        QCOMPARE(info.GetMessage(), "Failed to get translation array");
        QCOMPARE(info.GetString("ProductVersion"), "*** ERROR ***"s);
    }

    void translationKeyMisspeltIsStatus5() {
        std::vector<std::uint8_t> bytes = ProgramResourceBytes();
        // "Translation" in UTF-16: change its first letter.
        const std::vector<std::uint8_t> key = {'T', 0, 'r', 0, 'a', 0, 'n', 0, 's', 0};
        const auto at = std::search(bytes.begin(), bytes.end(), key.begin(), key.end());
        QVERIFY(at != bytes.end());
        *at = 'X';
        FakeSource source(bytes);
        QCOMPARE(VersionInfo(source).GetStatus(), 5);
    }

    // An array too short for one pair would make the string lookup read beyond it.
    void emptyTranslationArrayIsStatus5() {
        std::vector<std::uint8_t> bytes = ProgramResourceBytes();
        const auto translation = VerQueryValue(bytes, "\\VarFileInfo\\Translation");
        QVERIFY(translation);
        const std::size_t valueAt =
            static_cast<std::size_t>(translation->bytes.data() - bytes.data());
        // The value length word sits 2 bytes into the node; the node starts 6 + 24 + 2 bytes
        // (header, "Translation" and its zero, padding) before its value.
        const std::size_t nodeAt = valueAt - 32;
        QCOMPARE(bytes[nodeAt + 2], std::uint8_t{4});
        bytes[nodeAt + 2] = 2;
        FakeSource source(bytes);
        const VersionInfo info(source);
        QCOMPARE(info.GetStatus(), 5);
        QCOMPARE(info.GetString("ProductVersion"), "*** ERROR ***"s);
    }

    void firstTranslationPairDecides() {
        FakeSource source(WriteVersionResource(TwoLanguageContent()));
        const VersionInfo info(source);
        QCOMPARE(info.GetStatus(), 0);
        QCOMPARE(info.GetString("ProductVersion"), "zwei"s);

        VersionResourceContent reversed = TwoLanguageContent();
        std::swap(reversed.translations[0], reversed.translations[1]);
        FakeSource other(WriteVersionResource(reversed));
        QCOMPARE(VersionInfo(other).GetString("ProductVersion"), "two"s);
    }

    void blockNameMatchesInEitherCase() {
        VersionResourceContent content = ProgramVersionContent({1, 0, 3, 0});
        content.stringTables[0].blockName = "040904B0";
        FakeSource upper(WriteVersionResource(content));
        QCOMPARE(VersionInfo(upper).GetString("ProductVersion"), "1, 0, 3, 0"s);
        content.stringTables[0].blockName = "040904b0";
        FakeSource lower(WriteVersionResource(content));
        QCOMPARE(VersionInfo(lower).GetString("ProductVersion"), "1, 0, 3, 0"s);
    }

    void missingProductVersionIsNotAvailable() {
        VersionResourceContent content = ProgramVersionContent({1, 0, 3, 0});
        auto& strings = content.stringTables[0].strings;
        std::erase_if(strings, [](const auto& entry) { return entry.first == "ProductVersion"; });
        FakeSource source(WriteVersionResource(content));
        const VersionInfo info(source);
        QCOMPARE(info.GetStatus(), 0);
        QCOMPARE(info.GetString("ProductVersion"), "N.A."s);
        QCOMPARE(info.GetString("ProductName"), "Tavlo"s);
    }

    void noStringTableForTheTranslationIsNotAvailable() {
        VersionResourceContent content = ProgramVersionContent({1, 0, 3, 0});
        content.translations = {{0x040C, 1200}};  // French, but the table is English
        FakeSource source(WriteVersionResource(content));
        QCOMPARE(VersionInfo(source).GetString("ProductVersion"), "N.A."s);
    }

    void longNameIsCutNotOverrun() {
        const VersionInfo info;
        QCOMPARE(info.GetString(std::string(1000, 'P')), "N.A."s);
    }

    // Malformed bytes: every single byte of the program's resource set to values that break
    // lengths, keys and alignment, and the resource cut at every length. Nothing is ever read
    // outside the block (the sanitizer build checks every access).
    void corruptedResourcesStayInsideTheirBytes() {
        const std::vector<std::uint8_t> original = ProgramResourceBytes();
        QVERIFY(!original.empty());
        for (std::size_t at = 0; at < original.size(); ++at) {
            for (const std::uint8_t value : {0x00, 0x01, 0x05, 0x7F, 0xFF}) {
                std::vector<std::uint8_t> bytes = original;
                bytes[at] = value;
                QueryEverything(bytes);
                if (QTest::currentTestFailed()) {
                    QFAIL(qPrintable(QStringLiteral("byte %1 set to %2").arg(at).arg(value)));
                }
            }
        }
        for (std::size_t size = 0; size < original.size(); ++size) {
            QueryEverything({original.begin(), original.begin() + static_cast<long>(size)});
            if (QTest::currentTestFailed()) {
                QFAIL(qPrintable(QStringLiteral("cut at %1").arg(size)));
            }
        }
    }

    void nodeLongerThanItsParentIsAbsent() {
        std::vector<std::uint8_t> bytes = ProgramResourceBytes();
        // The root claims more bytes than there are: the resource is unreadable as a whole.
        bytes[0] = 0xFF;
        bytes[1] = 0xFF;
        QVERIFY(!VerQueryValue(bytes, "\\VarFileInfo\\Translation"));
        FakeSource source(bytes);
        QCOMPARE(VersionInfo(source).GetStatus(), 5);
    }
};

TAVLO_REGISTER_TEST(VersionInfoTest);

}  // namespace tavlo::test

#include "version_info_test.moc"
