// The preview picture both windows show and tavlo-cli writes: the screen picture stretched by
// the magnification, every lit device pixel a square in the text colour (black inside from
// 3 x 3 up), the same picture in blocks of display pixels on a display of more dots per inch,
// and the canvas that paints a new text line by line into the same picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/preview_picture.h"
#include "screen/screen_layout.h"
#include "support/font_image.h"

namespace tavlo::test {
namespace {

bool Same(const Rgb& a, const Rgb& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// "C" is a 3-column checkerboard, so lit and unlit device pixels touch everywhere; "A" a 5-column
// block of full bars.
std::string PreviewFontImage() {
    FontImageBuilder builder;
    builder.Glyph('C', {0x0555, 0x02AA, 0x0555}).Bar('A', 5);
    return builder.Bytes();
}

// What a pixel of the preview must be: inside a lit device pixel's square the text colour on its
// outline and black inside (from 3 x 3 on); elsewhere the picture.
Rgb ExpectedPixel(const LitPixelGrid& lit, const RgbRaster& picture, int magX, int magY, int x,
                  int y, Rgb colour) {
    const int dx = x - 10;
    const int dy = y - 20;
    if (dx < 0 || dy < 0 || !lit.IsLit(dx / magX, dy / magY)) {
        return picture.At(x, y);
    }
    const int insideX = dx % magX;
    const int insideY = dy % magY;
    const bool outline = insideX == 0 || insideY == 0 || insideX == magX - 1 || insideY == magY - 1;
    return outline || magX < 3 || magY < 3 ? colour : Rgb{};
}

TEST(PreviewPicture, EveryLitDevicePixelCoversExactlyItsSquare) {
    LoadedFont loaded(PreviewFontImage());
    ASSERT_TRUE(loaded.located);
    struct Row {
        int magX, magY;
        Rgb colour;
    };
    const std::string text = "CC\nA C\n\n\nC\nCCC\nA\nC";  // eight lines, the eighth not drawn
    const LitPixelGrid lit = LayOutText(&loaded.font, text);
    ASSERT_GT(lit.LitCount(), 0);
    for (const Row& row : {Row{1, 1, kTextFits}, Row{2, 2, kTextTooLong}, Row{3, 3, kTextFits},
                           Row{3, 3, kTextTooLong}, Row{4, 2, kTextTooLong}, Row{2, 5, kTextFits},
                           Row{8, 8, kTextTooLong}}) {
        SCOPED_TRACE(testing::Message() << row.magX << " x " << row.magY);
        const RgbRaster preview =
            ComposePreview(&loaded.font, text, row.magX, row.magY, row.colour);
        const RgbRaster picture = ComposePreview(nullptr, text, row.magX, row.magY, row.colour);
        ASSERT_EQ(preview.width, 120 * row.magX);
        ASSERT_EQ(preview.height, 133 * row.magY);
        int wrong = 0;
        for (int y = 0; y < preview.height; ++y) {
            for (int x = 0; x < preview.width; ++x) {
                const Rgb want = ExpectedPixel(lit, picture, row.magX, row.magY, x, y, row.colour);
                wrong += Same(preview.At(x, y), want) ? 0 : 1;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(PreviewPicture, TheScreenPictureIsStretchedAndTheTextStartsTenAndTwentyPixelsIn) {
    const IndexedPicture* picture = ScreenPicture();
    if (picture == nullptr) {
        GTEST_SKIP() << "this build carries no screen picture";
    }
    ASSERT_EQ(picture->width, 120);
    ASSERT_EQ(picture->height, 133);
    const RgbRaster twice = ComposePreview(nullptr, "", 2, 2, kTextFits);
    EXPECT_TRUE(Same(twice.At(0, 0), Rgb{94, 100, 92}));      // the dark corner
    EXPECT_TRUE(Same(twice.At(239, 265), Rgb{0, 0, 0}));      // last column and row
    EXPECT_TRUE(Same(twice.At(10, 20), Rgb{183, 185, 162}));  // the text origin: the screen area

    // At magnification 1 the seventh line's rows (picture rows 92 to 102) cross the screen
    // area's lower outline at row 96.
    LoadedFont loaded(PreviewFontImage());
    ASSERT_TRUE(loaded.located);
    const RgbRaster once = ComposePreview(&loaded.font, "\n\n\n\n\n\nA", 1, 1, kTextTooLong);
    EXPECT_TRUE(Same(once.At(10 + 50, 96), Rgb{94, 100, 92}));  // left of the "A"
    for (int row = 92; row <= 102; ++row) {
        EXPECT_TRUE(Same(once.At(10 + 51, row), kTextTooLong)) << "picture row " << row;
    }
}

TEST(PreviewPicture, DisplayScaleIsTheNearestWholeNumberAtLeastOne) {
    const struct {
        int dotsPerInch;
        int scale;
    } rows[] = {{96, 1},  {120, 1}, {143, 1}, {144, 2}, {192, 2}, {239, 2},
                {240, 3}, {288, 3}, {72, 1},  {0, 1},   {-96, 1}};
    for (const auto& row : rows) {
        EXPECT_EQ(DisplayScale(row.dotsPerInch), row.scale) << row.dotsPerInch << " dpi";
    }
}

// At display scale s the picture is the one of scale 1 with every pixel an s x s block: the
// outlines of the lit squares as well, so the preview looks the same at any scale, only larger.
TEST(PreviewPicture, AtADisplayScaleEveryPixelIsABlockOfThatSize) {
    LoadedFont loaded(PreviewFontImage());
    ASSERT_TRUE(loaded.located);
    const std::string text = "CAC\nC A\n\n\n\n\nCC";
    struct Row {
        int magX, magY, scale;
    };
    for (const Row& row : {Row{1, 1, 2}, Row{2, 2, 2}, Row{3, 3, 2}, Row{4, 2, 3}}) {
        SCOPED_TRACE(testing::Message() << row.magX << " x " << row.magY << " at " << row.scale);
        const RgbRaster once = ComposePreview(&loaded.font, text, row.magX, row.magY, kTextTooLong);
        const RgbRaster scaled =
            ComposePreview(&loaded.font, text, row.magX, row.magY, kTextTooLong, row.scale);
        ASSERT_EQ(scaled.width, once.width * row.scale);
        ASSERT_EQ(scaled.height, once.height * row.scale);
        int wrong = 0;
        for (int y = 0; y < scaled.height; ++y) {
            for (int x = 0; x < scaled.width; ++x) {
                wrong += Same(scaled.At(x, y), once.At(x / row.scale, y / row.scale)) ? 0 : 1;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

// The scale gives way where magnification times scale would pass the largest magnification:
// the raster never grows past the largest magnification's.
TEST(PreviewCanvas, TheDisplayScaleKeepsWithinTheLargestMagnification) {
    const struct {
        int magX, magY, scale, drawn;
    } rows[] = {{2, 2, 2, 2}, {32, 1, 2, 2}, {1, 33, 2, 1}, {22, 1, 4, 2}, {2, 2, 0, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.magX << " x " << row.magY << " at " << row.scale);
        const PreviewCanvas canvas(nullptr, row.magX, row.magY, row.scale);
        EXPECT_EQ(canvas.Scale(), row.drawn);
        EXPECT_EQ(canvas.Raster().width, 120 * row.magX * row.drawn);
    }
}

// Texts in turn on one canvas: after each, the picture is the one composed afresh, and every
// pixel that changed lies in the rows the canvas says it painted; at any display scale.
TEST(PreviewCanvas, EachTextPaintsOnlyTheLinesThatChangedIntoTheSamePicture) {
    LoadedFont loaded(PreviewFontImage());
    ASSERT_TRUE(loaded.located);
    struct Step {
        std::string text;
        Rgb colour;
    };
    const Step steps[] = {
        {"CAC CA\nA\n\n\n\n\nC", kTextFits},
        {"CAC CA\nAC\n\n\n\n\nC", kTextFits},
        {"C\nCAC CA\nAC\n\n\n\n\nC", kTextFits},
        {"C\nCAC CA\nAC\n\n\n\n\nC", kTextTooLong},
        {"", kTextTooLong},
        {"A", kTextFits},
    };
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "display scale " << scale);
        PreviewCanvas canvas(&loaded.font, 3, 2, scale);
        RgbRaster before = canvas.Raster();
        for (const Step& step : steps) {
            SCOPED_TRACE(step.text);
            const RasterRows rows = canvas.Show(ScreenLines(&loaded.font, step.text), step.colour);
            const RgbRaster& after = canvas.Raster();
            const RgbRaster fresh =
                ComposePreview(&loaded.font, step.text, 3, 2, step.colour, scale);
            int wrong = 0;
            int outside = 0;
            for (int y = 0; y < after.height; ++y) {
                for (int x = 0; x < after.width; ++x) {
                    wrong += Same(after.At(x, y), fresh.At(x, y)) ? 0 : 1;
                    const bool changed = !Same(after.At(x, y), before.At(x, y));
                    outside += changed && (y < rows.top || y >= rows.bottom) ? 1 : 0;
                }
            }
            EXPECT_EQ(wrong, 0);
            EXPECT_EQ(outside, 0);
            before = after;
        }
        // The same lines again paint nothing.
        EXPECT_TRUE(canvas.Show(ScreenLines(&loaded.font, "A"), kTextFits).Empty());
    }
}

}  // namespace
}  // namespace tavlo::test
