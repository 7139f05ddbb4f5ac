#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/firmware_image.h"
#include "screen/device_font.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "support/image_files.h"
#include "workflow/patch_step.h"
#include "workflow/search_loop.h"

namespace tavlo {
namespace {

using test::ImageBytes;
using test::LoadBytes;
using test::TempDir;
using test::WriteFile;

using namespace std::string_literals;

const std::string kDefaultOwnerText =
    "Terry N. Owner\n\n(555) 31122000\n"s + kExampleEmail + "\n\nReward $$$\nwhen returned!\n";

// Answers with a fixed value, optionally edits the text first, and remembers what it was shown.
class ScriptedConfirmer : public PatchConfirmer {
public:
    explicit ScriptedConfirmer(Answer answer, std::optional<std::string> edit = std::nullopt)
        : answer_(answer), edit_(std::move(edit)) {}

    Answer Confirm(PatchRequest& request) override {
        ++calls;
        shown = request;
        fontTable = request.font != nullptr ? request.font->Table() : nullptr;
        if (edit_) {
            request.newText = *edit_;
        }
        return answer_;
    }

    int calls = 0;
    PatchRequest shown;
    const std::uint8_t* fontTable = nullptr;

private:
    Answer answer_;
    std::optional<std::string> edit_;
};

class PatchStep : public ::testing::Test {
protected:
    void UseSettings(std::string_view text) {
        const std::string path = dir.File("tavlo.cfg");
        WriteFile(path, text);
        ASSERT_TRUE(ReadConfigFile(path, settings));
    }

    // Loads `bytes` and moves to the first "WARNING".
    void LoadAtMessage(const std::string& bytes) {
        LoadBytes(dir, image, bytes);
        ASSERT_TRUE(image.LocateMessage("WARNING"));
    }

    TempDir dir;
    FirmwareImage image;
    Settings settings;
};

// ---- The proposed owner text ----------------------------------------------------------------

TEST_F(PatchStep, WithoutSettingsTheSevenDefaultLinesAreProposed) {
    EXPECT_EQ(ProposedOwnerText(settings, "Patch"), kDefaultOwnerText);
}

TEST_F(PatchStep, SettingsOverrideLinesAndAnEmptyValueCounts) {
    UseSettings("[Patch]\nL1 = Anna Example\nL2 =\nL6 = 'Reward: 50 EUR'\n");
    EXPECT_EQ(ProposedOwnerText(settings, "Patch"), "Anna Example\n\n(555) 31122000\n"s +
                                                        kExampleEmail +
                                                        "\n\nReward: 50 EUR\nwhen returned!\n");
}

TEST_F(PatchStep, FurtherLinesRunUntilTheFirstMissingKey) {
    UseSettings("[Patch]\nL8 = eighth\nL10 = tenth\n");
    EXPECT_EQ(ProposedOwnerText(settings, "Patch"), kDefaultOwnerText + "eighth\n");
}

TEST_F(PatchStep, LinesComeFromTheNamedSection) {
    UseSettings("[Patch]\nL1 = in Patch\n[Owner]\nL1 = in Owner\nL8 = more\n");
    EXPECT_EQ(
        ProposedOwnerText(settings, "Owner"),
        "in Owner\n\n(555) 31122000\n"s + kExampleEmail + "\n\nReward $$$\nwhen returned!\nmore\n");
}

// ---- One match ------------------------------------------------------------------------------

const std::string kFirmware = "boot\0xxWARNING: property of\0next string\0"s;
constexpr int kMessageOffset = 7;
constexpr std::size_t kMessageLength = 20;

TEST_F(PatchStep, AsksWithTheMessageItsLengthAndTheFittedProposal) {
    LoadAtMessage(kFirmware);
    ScriptedConfirmer confirmer(Answer::Ok);
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr), Answer::Ok);
    EXPECT_EQ(confirmer.calls, 1);
    EXPECT_EQ(confirmer.shown.currentText, "WARNING: property of");
    EXPECT_EQ(confirmer.shown.infoText, "String to be replaced is 20 bytes long:\n");
    EXPECT_EQ(confirmer.shown.newText, "Terry N. Owner\n\n(555");
    // OK with the proposal unedited writes it.
    EXPECT_EQ(ImageBytes(image), "boot\0xxTerry N. Owner\n\n(555\0next string\0"s);
    EXPECT_TRUE(image.IsModified());
}

TEST_F(PatchStep, ShortProposalIsPaddedToTheMessageLength) {
    UseSettings("[Patch]\nL1 = Me\nL2 = x\nL3 = \nL4 =\nL5=\nL6=\nL7=\n");
    LoadAtMessage(kFirmware);
    ScriptedConfirmer confirmer(Answer::Ok);
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr), Answer::Ok);
    EXPECT_EQ(confirmer.shown.newText, "Me\nx\n\n\n\n\n\n" + std::string(10, ' '));
    EXPECT_EQ(confirmer.shown.newText.size(), kMessageLength);
}

TEST_F(PatchStep, EditedTextIsFittedAndWritten) {
    LoadAtMessage(kFirmware);
    ScriptedConfirmer confirmer(Answer::Ok, "Call 0123 456789 now please\n");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr), Answer::Ok);
    EXPECT_EQ(ImageBytes(image), "boot\0xxCall 0123 456789 now\0next string\0"s);
}

TEST_F(PatchStep, EmptiedTextLeavesSpacesAndTheZeroByte) {
    LoadAtMessage(kFirmware);
    ScriptedConfirmer confirmer(Answer::Ok, "");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr), Answer::Ok);
    EXPECT_EQ(ImageBytes(image),
              "boot\0xx"s + std::string(kMessageLength, ' ') + "\0next string\0"s);
    EXPECT_EQ(image.Length(), kFirmware.size());
}

TEST_F(PatchStep, CancelLeavesTheImageAsItWas) {
    LoadAtMessage(kFirmware);
    ScriptedConfirmer confirmer(Answer::Cancel, "ignored");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr), Answer::Cancel);
    EXPECT_EQ(ImageBytes(image), kFirmware);
    EXPECT_FALSE(image.IsModified());
    EXPECT_EQ(image.MatchOffset(), kMessageOffset);
}

TEST_F(PatchStep, FindNextLeavesTheImageAndTheSearchGoesOn) {
    const std::string bytes = "WARNING one\0WARNING two\0"s;
    LoadAtMessage(bytes);
    ScriptedConfirmer findNext(Answer::FindNext, "ignored");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", findNext, nullptr), Answer::FindNext);
    EXPECT_EQ(ImageBytes(image), bytes);
    EXPECT_FALSE(image.IsModified());

    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(image.MatchOffset(), 12);
    ScriptedConfirmer ok(Answer::Ok, "mine");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", ok, nullptr), Answer::Ok);
    EXPECT_EQ(ok.shown.currentText, "WARNING two");
    EXPECT_EQ(ImageBytes(image), "WARNING one\0mine       \0"s);
}

TEST_F(PatchStep, MatchAtTheFirstByteIsPatched) {
    LoadAtMessage("WARNING\0rest\0"s);
    ASSERT_EQ(image.MatchOffset(), 0);
    ScriptedConfirmer confirmer(Answer::Ok, "Owner!!");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr), Answer::Ok);
    EXPECT_EQ(confirmer.calls, 1);
    EXPECT_EQ(ImageBytes(image), "Owner!!\0rest\0"s);
}

TEST_F(PatchStep, NothingToPatchWithoutAMatchOrWithoutBytes) {
    ScriptedConfirmer confirmer(Answer::Ok, "x");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr),
              Answer::Cancel);  // nothing loaded

    LoadBytes(dir, image, "");
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr),
              Answer::Cancel);  // no bytes

    LoadBytes(dir, image, "WARNING here\0"s);
    EXPECT_EQ(PatchMessage(image, settings, "Patch", confirmer, nullptr),
              Answer::Cancel);  // no match yet
    EXPECT_EQ(confirmer.calls, 0);
    EXPECT_FALSE(image.IsModified());
}

// ---- The receiver's font --------------------------------------------------------------------

// The message, then the glyph table's signature followed by `tableBytes` - 16 further bytes,
// which end the image.
std::string FirmwareWithFont(std::size_t tableBytes) {
    std::string bytes = "WARNING: font follows\0"s;
    bytes.append(reinterpret_cast<const char*>(DeviceFont::kSignature),
                 sizeof DeviceFont::kSignature);
    bytes.append(tableBytes - sizeof DeviceFont::kSignature, '\x01');
    return bytes;
}

TEST_F(PatchStep, FontFoundInTheImageIsHandedOver) {
    const std::string bytes = FirmwareWithFont(DeviceFont::kTableBytes);
    LoadAtMessage(bytes);
    ScriptedConfirmer confirmer(Answer::Cancel);
    RunSearch(image, "WARNING", settings, confirmer);
    ASSERT_NE(confirmer.shown.font, nullptr);
    EXPECT_EQ(confirmer.fontTable, image.Data() + bytes.find('\0') + 1);
}

TEST_F(PatchStep, TableCutShortByTheEndOfTheImageIsNoFont) {
    LoadAtMessage(FirmwareWithFont(DeviceFont::kTableBytes - 1));
    ScriptedConfirmer confirmer(Answer::Cancel);
    RunSearch(image, "WARNING", settings, confirmer);
    EXPECT_EQ(confirmer.calls, 1);
    EXPECT_EQ(confirmer.shown.font, nullptr);
}

TEST_F(PatchStep, ImageWithoutTheSignatureHasNoFont) {
    LoadAtMessage(kFirmware + std::string(2000, '\x01'));
    ScriptedConfirmer confirmer(Answer::Ok, "still works");
    EXPECT_EQ(RunSearch(image, "WARNING", settings, confirmer).answer, Answer::Ok);
    EXPECT_EQ(confirmer.shown.font, nullptr);
}

}  // namespace
}  // namespace tavlo
