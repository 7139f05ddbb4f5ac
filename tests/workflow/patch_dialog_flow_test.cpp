// The patch dialog below the toolkit: what it shows for each text in its box (counter, colour,
// note, the preview's lines and pixels), the answer it ends with, a message of megabytes, and
// the room it makes for its preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes.h"
#include "screen/screen_layout.h"
#include "settings/settings_file.h"
#include "support/font_image.h"
#include "support/image_files.h"
#include "workflow/patch_dialog_layout.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

bool SameRaster(const RgbRaster& a, const RgbRaster& b) {
    return a.width == b.width && a.height == b.height &&
           std::equal(a.pixels.begin(), a.pixels.end(), b.pixels.begin(),
                      [](const Rgb& x, const Rgb& y) {
                          return x.red == y.red && x.green == y.green && x.blue == y.blue;
                      });
}

bool SameColour(Rgb a, Rgb b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// A receiver font whose letters are bars: "A" 5 columns, "W" 9.
std::string BarFont() {
    FontImageBuilder builder;
    builder.Bar('A', 5).Bar('W', 9).Bar('x', 3).Bar('y', 3);
    return builder.Bytes();
}

const std::string kMessage = "WARNING\nKeep away";  // 17 bytes, a line break of its own

TEST(PatchDialogFlow, EachTextGetsItsCounterColourNoteAndLines) {
    struct Row {
        const char* rule;
        std::string text;
        bool withFont;
        std::string counter;
        bool fits;
        std::size_t lines;
        bool hidden;
    };
    const Row rows[] = {
        {"as long as the message", "AAAAAAAAA\nAAAAAAA", true,
         "Current size: 17 / characters left: 0", true, 2, false},
        {"one more: red, and the second number below zero", "AAAAAAAAAAAAAAAAAA", true,
         "Current size: 18 / characters left: -1", false, 1, false},
        {"an empty box", "", true, "Current size: 0 / characters left: 17", true, 0, false},
        {"a line break counts once", "A\n\n", true, "Current size: 3 / characters left: 14", true,
         2, false},
        {"an eighth line is below the screen", "A\nA\nA\nA\nA\nA\nA\nA", true,
         "Current size: 15 / characters left: 2", true, 7, true},
        {"a word wider than the screen is cut", std::string(12, 'W'), true,
         "Current size: 12 / characters left: 5", true, 1, true},
        {"without a font: no lines, nothing hidden", "A\nA\nA\nA\nA\nA\nA\nA", false,
         "Current size: 15 / characters left: 2", true, 0, false},
    };
    LoadedFont loaded(BarFont());
    ASSERT_TRUE(loaded.located);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const DeviceFont* font = row.withFont ? &loaded.font : nullptr;
        const NewTextState state = StateOfNewText(row.text, kMessage.size(), font);
        EXPECT_EQ(state.counter, row.counter);
        EXPECT_EQ(state.fits, row.fits);
        EXPECT_TRUE(SameColour(state.colour, row.fits ? kTextFits : kTextTooLong));
        EXPECT_EQ(state.lines, ScreenLines(font, row.text));
        EXPECT_EQ(state.lines.size(), row.lines);
        EXPECT_EQ(state.hiddenNote, HiddenTextNote(HiddenOnScreen(font, row.text)));
        EXPECT_EQ(state.hiddenNote.empty(), !row.hidden);
    }
}

// The dialog shows the request, then follows the box key by key: the counter in its colour and
// the preview, which after every change holds exactly the picture of the box's text.
TEST(PatchDialogFlow, TheViewFollowsTheBoxAndThePreviewIsThePictureOfItsText) {
    LoadedFont loaded(BarFont());
    ASSERT_TRUE(loaded.located);
    PatchRequest request{
        kMessage, "String to be replaced is 17 bytes long:\n", "AAAA\nAA", &loaded.font, 3, 2};
    FakePatchDialog view;
    PatchDialogFlow flow(request, view);
    flow.Start();
    EXPECT_EQ(view.found, kMessage);
    EXPECT_EQ(view.info, request.infoText);
    EXPECT_EQ(view.box, "AAAA\nAA");
    ASSERT_EQ(view.previews.size(), 1u);
    EXPECT_EQ(view.previews[0].top, 0);  // the whole picture first
    EXPECT_EQ(view.previews[0].bottom, 133 * 2);
    for (const std::string& typed : std::vector<std::string>{
             "AAAA\nAAx", "AAAA\nAAxA", "xAAAA\nAAxA", "AAAA\nA\nAxA", std::string(20, 'A'), ""}) {
        SCOPED_TRACE(typed);
        view.box = typed;
        flow.NewTextChanged();
        const NewTextState state = StateOfNewText(typed, kMessage.size(), &loaded.font);
        EXPECT_EQ(view.counter, state.counter);
        EXPECT_TRUE(SameColour(view.counterColour, state.colour));
        EXPECT_EQ(view.note, state.hiddenNote);
        EXPECT_TRUE(
            SameRaster(view.shown, ComposePreview(&loaded.font, typed, 3, 2, state.colour)));
    }
    // A change that leaves the lines as they were paints nothing again.
    const std::size_t previews = view.previews.size();
    flow.NewTextChanged();
    EXPECT_EQ(view.previews.size(), previews);
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(flow.Result(), Answer::FindNext);  // the answer of a dialog never ended
}

// The preview is drawn at the scale of the display the dialog is on, the one it opens on and
// each one it moves to, with the lines of the box as they are.
TEST(PatchDialogFlow, ThePreviewIsDrawnAtTheDisplaysScale) {
    LoadedFont loaded(BarFont());
    ASSERT_TRUE(loaded.located);
    PatchRequest request{kMessage, "", "AAAA\nAA", &loaded.font, 3, 2};
    FakePatchDialog view;
    PatchDialogFlow flow(request, view);
    flow.SetDisplayDpi(192);
    flow.Start();
    ASSERT_EQ(view.previews.size(), 1u);
    EXPECT_EQ(view.previews[0].bottom, 133 * 2 * 2);  // shown whole, twice as high
    EXPECT_TRUE(
        SameRaster(view.shown, ComposePreview(&loaded.font, "AAAA\nAA", 3, 2, kTextFits, 2)));
    const struct {
        int dotsPerInch;
        std::string typed;
    } rows[] = {{144, "AAAA\nAAx"}, {96, std::string(18, 'A')}, {288, "xA\nA"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dotsPerInch);
        flow.SetDisplayDpi(row.dotsPerInch);
        const Rgb colour = flow.State().colour;
        EXPECT_TRUE(SameRaster(flow.Preview(), ComposePreview(&loaded.font, view.box, 3, 2, colour,
                                                              DisplayScale(row.dotsPerInch))));
        view.box = row.typed;
        flow.NewTextChanged();
        EXPECT_TRUE(SameRaster(flow.Preview(),
                               ComposePreview(&loaded.font, row.typed, 3, 2, flow.State().colour,
                                              DisplayScale(row.dotsPerInch))));
    }
}

// A file without the receiver's font (a text file named .rgn): the preview's place says so
// instead of showing an empty picture; the rest of the dialog works as ever.
TEST(PatchDialogFlow, WithoutAFontThePreviewsPlaceSaysWhy) {
    for (const bool withFont : {false, true}) {
        SCOPED_TRACE(withFont ? "with a font" : "without");
        LoadedFont loaded(BarFont());
        ASSERT_TRUE(loaded.located);
        PatchRequest request{kMessage, "", "AA", withFont ? &loaded.font : nullptr};
        FakePatchDialog view;
        PatchDialogFlow flow(request, view);
        flow.Start();
        view.box = std::string(18, 'A');
        flow.NewTextChanged();
        EXPECT_EQ(view.counter, "Current size: 18 / characters left: -1");
        EXPECT_EQ(view.previewNote.empty(), withFont);
        EXPECT_EQ(view.previews.empty(), !withFont);
        EXPECT_GT(flow.Preview().width, 0);  // the room the note is shown in
    }
}

TEST(PatchDialogFlow, OkTakesTheBoxOverCancelAndFindNextLeaveTheRequest) {
    struct Row {
        const char* rule;
        void (PatchDialogFlow::*end)();
        Answer answer;
        std::string newText;
    };
    const Row rows[] = {
        {"OK", &PatchDialogFlow::Ok, Answer::Ok, "typed\nover"},
        {"Cancel, Escape, the close box", &PatchDialogFlow::Cancel, Answer::Cancel, "Owner"},
        {"Find Next", &PatchDialogFlow::FindNext, Answer::FindNext, "Owner"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        PatchRequest request{kMessage, "", "Owner", nullptr};
        FakePatchDialog view;
        PatchDialogFlow flow(request, view);
        flow.Start();
        view.box = "typed\nover";
        flow.NewTextChanged();
        (flow.*row.end)();
        EXPECT_TRUE(view.closed);
        EXPECT_EQ(flow.Result(), row.answer);
        EXPECT_EQ(request.newText, row.newText);
    }
}

// "WARNING " and 20 MB without a zero byte: the dialog shows the first 1,024 bytes and "...",
// counts the whole length, and proposes the owner text without megabytes of padding; OK still
// writes exactly the message's length.
TEST(PatchDialogFlow, AMessageOfMegabytesIsShownInPartAndWrittenWhole) {
    const std::size_t length = 8 + (20u << 20);
    TempDir dir;
    FirmwareImage image;
    LoadBytes(dir, image, "WARNING " + std::string(length - 8, 'A'));
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    PatchRequest request = BuildPatchRequest(image, Settings(), "Patch", nullptr);
    EXPECT_EQ(request.currentText.size(), length);
    EXPECT_EQ(request.newText, ProposedOwnerText(Settings(), "Patch"));

    FakePatchDialog view;
    PatchDialogFlow flow(request, view);
    flow.Start();
    EXPECT_EQ(view.found, "WARNING " + std::string(kShownMessageBytes - 8, 'A') + "...");
    EXPECT_EQ(view.counter,
              "Current size: " + std::to_string(request.newText.size()) +
                  " / characters left: " + std::to_string(length - request.newText.size()));
    view.box = "Mine";
    flow.Ok();
    image.ReplaceMessage(request.newText);
    EXPECT_EQ(ImageBytes(image), "Mine" + std::string(length - 4, ' '));

    // Up to the limit the whole message is shown and the proposal fills it.
    EXPECT_EQ(ShownFoundText(std::string(kShownMessageBytes, 'M')),
              std::string(kShownMessageBytes, 'M'));
}

TEST(PatchDialogLayout, TheDialogMakesRoomForItsPreview) {
    namespace tpl = patch_dialog_template;
    // A dialog of 2 pixels a unit across and down, as a toolkit lays the template out.
    PatchDialogPlaces laidOut{{}, 648, 424};
    for (const ControlTemplate& control : tpl::kControls) {
        if (control.id != kNoControlId) {
            laidOut.controls.push_back(
                {control.id,
                 {2 * control.x, 2 * control.y, 2 * (control.x + control.width),
                  2 * (control.y + control.height)}});
        }
    }
    const auto placeOf = [](const PatchDialogPlaces& dialog, int id) {
        return std::find_if(dialog.controls.begin(), dialog.controls.end(),
                            [id](const ControlPlace& c) { return c.id == id; })
            ->rect;
    };
    struct Row {
        const char* rule;
        int width, height;  // the preview's
        int right, down;    // how far the row of buttons moves, and the dialog grows
    };
    const Row rows[] = {
        {"a picture that fits moves nothing", 240, 266, 0, 0},
        {"a taller one moves the row below it", 240, 399, 0, 34 + 399 + 8 - 370},
        {"a wider one moves the buttons right", 360, 266, 317 + 360 + 8 - 648, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const PatchDialogPlaces arranged = ArrangePatchDialog(laidOut, row.width, row.height, 8, 8);
        EXPECT_EQ(arranged.clientWidth, laidOut.clientWidth + row.right);
        EXPECT_EQ(arranged.clientHeight, laidOut.clientHeight + row.down);
        const PixelRect ok = placeOf(arranged, tpl::kOk);
        EXPECT_EQ(ok.left, placeOf(laidOut, tpl::kOk).left + row.right);
        EXPECT_EQ(ok.top, placeOf(laidOut, tpl::kOk).top + row.down);
        // Nothing above the row moves; the counter, on one line, reaches to Find Next less the gap.
        EXPECT_EQ(placeOf(arranged, tpl::kNewText), placeOf(laidOut, tpl::kNewText));
        const PixelRect counter = placeOf(arranged, tpl::kCounter);
        EXPECT_EQ(counter.right, placeOf(arranged, tpl::kFindNext).left - 8);
        EXPECT_EQ(counter.top, placeOf(laidOut, tpl::kCounter).top + row.down);
        // The picture lies above the row and inside the dialog.
        const PixelRect preview =
            PreviewPlace(placeOf(arranged, tpl::kPreviewLabel), placeOf(arranged, tpl::kFoundText),
                         row.width, row.height);
        EXPECT_LE(preview.bottom + 8, placeOf(arranged, tpl::kFindNext).top);
        EXPECT_LE(preview.right + 8, arranged.clientWidth);
    }
}

}  // namespace
}  // namespace tavlo::test
