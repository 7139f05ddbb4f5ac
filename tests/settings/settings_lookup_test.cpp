// Looking values up in the store, adding and freeing entries, and loading by program path.
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "settings/settings_keys.h"
#include "settings_test_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define TAVLO_UNDER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVLO_UNDER_ADDRESS_SANITIZER 1
#endif
#endif

namespace tavlo::test {
namespace {

class SettingsLookupTest : public SettingsTest {};

// --- GetConfigString ---------------------------------------------------------------------------

TEST_F(SettingsLookupTest, MissingEntryGivesTheCallersDefaultItself) {
    const char* fallback = "*.rgn";
    EXPECT_EQ(settings_.GetConfigString("Image", "Filename", fallback), fallback);
    EXPECT_EQ(settings_.GetConfigString("Image", "Filename", nullptr), nullptr);
}

TEST_F(SettingsLookupTest, StoredValueWinsOverTheDefault) {
    ASSERT_TRUE(ReadText("[Image]\nFilename = 'C:/fw/*.rgn'\n"));
    EXPECT_STREQ(settings_.GetConfigString("Image", "Filename", "*.rgn"), "C:/fw/*.rgn");
    EXPECT_STREQ(settings_.GetConfigString("Image", "Filename", nullptr), "C:/fw/*.rgn");
}

TEST_F(SettingsLookupTest, ReturnedTextStaysPutWhileTheStoreGrows) {
    ASSERT_TRUE(ReadText("[Display]\nMagX = 2\n"));
    const char* value = settings_.GetConfigString("Display", "MagX", nullptr);
    ASSERT_NE(value, nullptr);
    for (int i = 0; i < 1000; ++i) {
        settings_.AddConfigEntry("More", "k" + std::to_string(i), "v", i);
    }
    EXPECT_EQ(settings_.GetConfigString("Display", "MagX", nullptr), value);
    EXPECT_STREQ(value, "2");
}

// --- GetConfigInt ------------------------------------------------------------------------------

TEST_F(SettingsLookupTest, IntegerIsTheLeadingDigitRun) {
    ASSERT_TRUE(
        ReadText("[Display]\nZero = 0\nLeadingZero = 07\nFraction = 3.9\nSuffix = 12px\n"
                 "Comment = 2 ; doubled\n"));
    EXPECT_EQ(settings_.GetConfigInt("Display", "Zero", 2), 0);
    EXPECT_EQ(settings_.GetConfigInt("Display", "LeadingZero", 2), 7);
    EXPECT_EQ(settings_.GetConfigInt("Display", "Fraction", 2), 3);
    EXPECT_EQ(settings_.GetConfigInt("Display", "Suffix", 2), 12);
    EXPECT_EQ(settings_.GetConfigInt("Display", "Comment", 2), 2);
}

TEST_F(SettingsLookupTest, IntegerWithoutLeadingDigitGivesTheDefault) {
    ASSERT_TRUE(ReadText(
        "[Display]\nMinus = -3\nPlus = +3\nSpace = ' 3'\nLetter = x\nEmpty =\nQuoted = ''\n"));
    for (const char* key : {"Minus", "Plus", "Space", "Letter", "Empty", "Quoted", "Missing"}) {
        EXPECT_EQ(settings_.GetConfigInt("Display", key, 2), 2) << key;
    }
}

TEST_F(SettingsLookupTest, LongDigitRunsSaturate) {
    ASSERT_TRUE(
        ReadText("[Display]\nLargest = 2147483647\nOneMore = 2147483648\n"
                 "Huge = 99999999999999999999999999999\nLongZeros = 0000000000000000000000042\n"));
    EXPECT_EQ(settings_.GetConfigInt("Display", "Largest", 2), 2147483647);
    EXPECT_EQ(settings_.GetConfigInt("Display", "OneMore", 2), 2147483647);
    EXPECT_EQ(settings_.GetConfigInt("Display", "Huge", 2), 2147483647);
    EXPECT_EQ(settings_.GetConfigInt("Display", "LongZeros", 2), 42);
}

// --- AddConfigEntry, FindConfigEntry -----------------------------------------------------------

TEST_F(SettingsLookupTest, AddedEntriesAreAppendedInOrder) {
    const SettingsEntry& first = settings_.AddConfigEntry("Patch", "L1", "one", 3);
    EXPECT_EQ(*first.section, "Patch");
    EXPECT_EQ(first.key, "L1");
    EXPECT_EQ(first.value, "one");
    EXPECT_EQ(first.line, 3);
    settings_.AddConfigEntry("Patch", "L2", "two", 4);
    settings_.AddConfigEntry("Image", "Filename", "f", 9);
    ASSERT_EQ(Entries().size(), 3u);
    EXPECT_EQ(Entries()[1].value, "two");
    EXPECT_EQ(Entries()[0].section.get(), Entries()[1].section.get());
    EXPECT_EQ(*Entries()[2].section, "Image");
    EXPECT_EQ(settings_.FindConfigEntry("Image", "Filename"), &Entries()[2]);
}

TEST_F(SettingsLookupTest, ReadingAppendsAndNamesTheLastFileRead) {
    ASSERT_TRUE(ReadText("[Patch]\nL1 = a\n", "a.CFG"));
    ASSERT_TRUE(ReadText("[Patch]\nL1 = b\nL2 = c\n", "b.CFG"));
    EXPECT_EQ(Entries().size(), 3u);
    EXPECT_EQ(ValueOf("Patch", "L1"), "a");
    EXPECT_EQ(settings_.Path(), dir_.File("b.CFG"));
    const Settings none;
    EXPECT_TRUE(none.Entries().empty());
    EXPECT_FALSE(none.Path());
    EXPECT_STREQ(none.GetConfigString("Patch", "L2", "dflt"), "dflt");
}

#ifndef TAVLO_UNDER_ADDRESS_SANITIZER
// Runs in the death test's child: leaves the process hardly more address space than it holds,
// then asks the store to copy a value that does not fit any more.
void AddEntryWithoutMemory() {
    const std::string big(std::size_t{64} << 20, 'v');
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages) * 4096 + (rlim_t{16} << 20);
    const rlimit bound{limit, limit};
    ::setrlimit(RLIMIT_AS, &bound);
    Settings settings;
    settings.AddConfigEntry("Patch", "L1", big, 1);
    std::fputs("entry added\n", stderr);
    std::exit(0);
}
#endif

TEST(SettingsOutOfMemoryDeathTest, AddConfigEntryReportsAndExits) {
#ifdef TAVLO_UNDER_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer reports exhausted memory itself";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(AddEntryWithoutMemory(), ::testing::ExitedWithCode(255),
                "^out of mem in AddConfigEntry\n$");
#endif
}

// --- LoadConfig --------------------------------------------------------------------------------

TEST_F(SettingsLookupTest, WithoutSettingsFileEveryLookupGivesItsBuiltInDefault) {
    settings_ = LoadConfig(dir_.File("tavlo"));
    EXPECT_FALSE(settings_.Path());
    EXPECT_TRUE(Entries().empty());
    EXPECT_STREQ(
        settings_.GetConfigString(kImageSection, "Filename", BuiltInDefault("Image", "Filename")),
        "*.rgn");
    EXPECT_EQ(settings_.GetConfigInt(kDisplaySection, "MagX", 2), 2);
    EXPECT_EQ(settings_.GetConfigInt(kDisplaySection, "MagY", 2), 2);
    EXPECT_STREQ(settings_.GetConfigString(kPatchSection, "L1", BuiltInDefault("Patch", "L1")),
                 "Terry N. Owner");
    EXPECT_STREQ(settings_.GetConfigString(kPatchSection, "L7", BuiltInDefault("Patch", "L7")),
                 "when returned!");
}

TEST_F(SettingsLookupTest, LoadConfigReadsTheFileBesideTheProgram) {
    WriteFile(dir_.File("tavlo.CFG"), "[Display]\nMagX = 4\n");
    settings_ = LoadConfig(dir_.File("tavlo.exe"));
    EXPECT_EQ(settings_.Path(), dir_.File("tavlo.CFG"));
    EXPECT_EQ(settings_.GetConfigInt("Display", "MagX", 2), 4);
}

TEST_F(SettingsLookupTest, LoadConfigReturnsThePathOfAnEmptyFile) {
    WriteFile(dir_.File("tavlo.CFG"), "; nothing set\r\n");
    settings_ = LoadConfig(dir_.File("tavlo"));
    EXPECT_EQ(settings_.Path(), dir_.File("tavlo.CFG"));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(SettingsLookupTest, EachLoadReadsTheFileAfresh) {
    WriteFile(dir_.File("tavlo.CFG"), "[Patch]\nL1 = earlier\n");
    const Settings earlier = LoadConfig(dir_.File("tavlo"));
    WriteFile(dir_.File("tavlo.CFG"), "[Patch]\nL1 = later\n");
    const Settings later = LoadConfig(dir_.File("tavlo"));
    EXPECT_STREQ(earlier.GetConfigString("Patch", "L1", nullptr), "earlier");
    EXPECT_STREQ(later.GetConfigString("Patch", "L1", nullptr), "later");
    EXPECT_EQ(later.Entries().size(), 1u);
}

}  // namespace
}  // namespace tavlo::test
