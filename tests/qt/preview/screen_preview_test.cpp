#include "qt/screen_preview.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <limits>
#include <string>
#include <tuple>

#include "screen/preview_picture.h"
#include "screen/screen_layout.h"
#include "settings/settings_file.h"
#include "support/font_image.h"

namespace tavlo::test {
namespace {

const QRgb kBackground = qRgb(0x12, 0x34, 0x56);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);

// "C" is a 3-column checkerboard, so lit and unlit device pixels touch everywhere; "A" a 5-column
// block of full bars.
std::string PreviewFontImage() {
    FontImageBuilder builder;
    builder.Glyph('C', {0x0555, 0x02AA, 0x0555}).Bar('A', 5);
    return builder.Bytes();
}

// A 120 x 133 picture in which every pixel has its own colour.
QImage NumberedPicture() {
    QImage picture(120, 133, QImage::Format_RGB32);
    for (int row = 0; row < picture.height(); ++row) {
        for (int column = 0; column < picture.width(); ++column) {
            picture.setPixel(column, row, qRgb(column, row, 200));
        }
    }
    return picture;
}

QImage Surface(int width, int height) {
    QImage surface(width, height, QImage::Format_RGB32);
    surface.fill(kBackground);
    return surface;
}

void PaintOn(QImage& surface, ScreenPreview& preview, std::string_view text, int x, int y,
             QRgb colour) {
    QPainter painter(&surface);
    preview.Paint(painter, text, x, y, QColor(colour));
}

// What a surface pixel must be after painting `text` with no picture: a lit device pixel's
// square in the text colour with a black inside (from 3 x 3 on), else the background.
QRgb ExpectedPixel(const LitPixelGrid& lit, const ScreenPreview& preview, int px, int py,
                   QRgb colour) {
    const int dx = px - preview.originX;
    const int dy = py - preview.originY;
    if (dx < 0 || dy < 0) {
        return kBackground;
    }
    const int column = dx / preview.magX;
    const int row = dy / preview.magY;
    if (!lit.IsLit(column, row)) {
        return kBackground;
    }
    const int insideX = dx % preview.magX;
    const int insideY = dy % preview.magY;
    const bool border =
        insideX == 0 || insideY == 0 || insideX == preview.magX - 1 || insideY == preview.magY - 1;
    return border ? colour : kBlack;
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loaded.located);
        preview.font = &loaded.font;
        preview.picture = QImage();
    }

    // Every surface pixel against ExpectedPixel; reports the first few that differ.
    void ExpectOnlyTextPixels(const QImage& surface, std::string_view text, QRgb colour) {
        const LitPixelGrid lit = LayOutText(&loaded.font, text);
        ASSERT_GT(lit.LitCount(), 0);
        int wrong = 0;
        for (int py = 0; py < surface.height() && wrong < 5; ++py) {
            for (int px = 0; px < surface.width() && wrong < 5; ++px) {
                const QRgb expected = ExpectedPixel(lit, preview, px, py, colour);
                const QRgb actual = surface.pixel(px, py) | 0xFF000000u;
                if (actual != expected) {
                    ++wrong;
                    ADD_FAILURE() << "surface pixel (" << px << ", " << py << ") is " << std::hex
                                  << actual << ", expected " << expected << std::dec
                                  << " at magnification " << preview.magX << " x " << preview.magY;
                }
            }
        }
    }

    LoadedFont loaded{PreviewFontImage()};
    ScreenPreview preview;
};

std::string MagnificationName(const ::testing::TestParamInfo<std::tuple<int, int, QRgb>>& info) {
    return "Mag" + std::to_string(std::get<0>(info.param)) + "x" +
           std::to_string(std::get<1>(info.param)) +
           (std::get<2>(info.param) == kRed ? "Red" : "Black");
}

class PreviewMagnificationTest : public PreviewTest,
                                 public ::testing::WithParamInterface<std::tuple<int, int, QRgb>> {
};

TEST_P(PreviewMagnificationTest, EveryLitDevicePixelCoversExactlyItsSquare) {
    const auto [magX, magY, colour] = GetParam();
    preview.magX = magX;
    preview.magY = magY;
    QImage surface = Surface(magX * 120 + 40, magY * 133 + 40);
    const std::string text = "CC\nA C\n\n\nC\nCCC\nA\nC";  // eight lines, the eighth not drawn
    PaintOn(surface, preview, text, 7, 3, colour);
    EXPECT_EQ(preview.originX, 17);
    EXPECT_EQ(preview.originY, 23);
    ExpectOnlyTextPixels(surface, text, colour);
}

INSTANTIATE_TEST_SUITE_P(Magnifications, PreviewMagnificationTest,
                         ::testing::Values(std::make_tuple(1, 1, kBlack),
                                           std::make_tuple(2, 2, kBlack),
                                           std::make_tuple(2, 2, kRed), std::make_tuple(3, 3, kRed),
                                           std::make_tuple(3, 3, kBlack),
                                           std::make_tuple(4, 2, kRed), std::make_tuple(2, 5, kRed),
                                           std::make_tuple(8, 8, kRed)),
                         MagnificationName);

TEST_F(PreviewTest, LitPixelsAtKnownPlaces) {
    // "A" measures 6 and is centred at device column 51; its rows are 0 to 10.
    preview.magX = 2;
    preview.magY = 2;
    QImage surface = Surface(300, 300);
    PaintOn(surface, preview, "A", 0, 0, kRed);
    // Device (51, 0) is surface (10 + 102, 20 + 0) to (113, 21); device (50, 0) is left of it.
    EXPECT_EQ(surface.pixel(112, 20), kRed);
    EXPECT_EQ(surface.pixel(113, 21), kRed);
    EXPECT_EQ(surface.pixel(111, 20), kBackground);
    EXPECT_EQ(surface.pixel(112, 19), kBackground);
    // Device (55, 10), the block's last pixel, is surface (120, 40) to (121, 41).
    EXPECT_EQ(surface.pixel(121, 41), kRed);
    EXPECT_EQ(surface.pixel(122, 41), kBackground);
    EXPECT_EQ(surface.pixel(121, 42), kBackground);

    // From magnification 3 each pixel is an outline in the text colour around a black centre.
    preview.magX = 3;
    preview.magY = 3;
    surface = Surface(400, 400);
    PaintOn(surface, preview, "A", 0, 0, kRed);
    // Device (51, 0) is surface (163, 20) to (165, 22).
    EXPECT_EQ(surface.pixel(163, 20), kRed);
    EXPECT_EQ(surface.pixel(164, 21), kBlack);
    EXPECT_EQ(surface.pixel(165, 22), kRed);
    EXPECT_EQ(surface.pixel(162, 21), kBackground);
}

TEST_F(PreviewTest, PictureIsStretchedByTheMagnificationAndTheTextOriginIsNot) {
    preview.picture = NumberedPicture();
    preview.magX = 2;
    preview.magY = 3;
    QImage surface = Surface(300, 450);
    PaintOn(surface, preview, "", 5, 9, kRed);
    for (int py = 0; py < surface.height(); ++py) {
        for (int px = 0; px < surface.width(); ++px) {
            const bool inside = px >= 5 && px < 5 + 240 && py >= 9 && py < 9 + 399;
            const QRgb expected = inside ? qRgb((px - 5) / 2, (py - 9) / 3, 200) : kBackground;
            ASSERT_EQ(surface.pixel(px, py), expected) << "at (" << px << ", " << py << ")";
        }
    }
    // Device column 0, row 0 lies 10 and 20 surface pixels into the picture at any size.
    EXPECT_EQ(preview.originX, 15);
    EXPECT_EQ(preview.originY, 29);
}

TEST_F(PreviewTest, TextIsDrawnOnThePictureAndARepaintWipesIt) {
    preview.picture = NumberedPicture();
    QImage pictureOnly = Surface(300, 300);
    PaintOn(pictureOnly, preview, "", 0, 0, kRed);

    QImage surface = Surface(300, 300);
    PaintOn(surface, preview, "A", 0, 0, kRed);
    // "A" lights device columns 51 to 55: surface x 112 to 121, y 20 to 41.
    EXPECT_EQ(surface.pixel(112, 20), kRed);
    EXPECT_EQ(surface.pixel(111, 20), pictureOnly.pixel(111, 20));
    EXPECT_EQ(surface.pixel(122, 41), pictureOnly.pixel(122, 41));

    PaintOn(surface, preview, "", 0, 0, kRed);
    EXPECT_EQ(surface, pictureOnly);
}

TEST_F(PreviewTest, WithoutAFontOnlyThePictureIsDrawn) {
    preview.picture = NumberedPicture();
    QImage pictureOnly = Surface(300, 300);
    PaintOn(pictureOnly, preview, "", 0, 0, kRed);
    preview.font = nullptr;
    QImage surface = Surface(300, 300);
    PaintOn(surface, preview, "AAA\nCCC", 0, 0, kRed);
    EXPECT_EQ(surface, pictureOnly);
}

TEST_F(PreviewTest, WithoutAPictureNothingButTheTextIsDrawn) {
    QImage surface = Surface(300, 300);
    PaintOn(surface, preview, "", 0, 0, kRed);
    EXPECT_EQ(surface, Surface(300, 300));
}

TEST_F(PreviewTest, MagnificationZeroOrBelowDrawsNothing) {
    preview.picture = NumberedPicture();
    for (auto [magX, magY] :
         {std::pair{0, 2}, std::pair{2, 0}, std::pair{0, 0}, std::pair{-2, 2}, std::pair{2, -1}}) {
        preview.magX = magX;
        preview.magY = magY;
        QImage surface = Surface(300, 300);
        PaintOn(surface, preview, "AAA\nCCC", 40, 40, kRed);
        EXPECT_EQ(surface, Surface(300, 300)) << magX << " x " << magY;
        EXPECT_EQ(preview.originX, 50);
        EXPECT_EQ(preview.originY, 60);
    }
}

TEST_F(PreviewTest, AMagnificationBeyondTheSurfaceCoordinatesDrawsNothing) {
    preview.picture = NumberedPicture();
    preview.magX = std::numeric_limits<int>::max();
    preview.magY = 2;
    QImage surface = Surface(100, 100);
    PaintOn(surface, preview, "AAA", 0, 0, kRed);
    EXPECT_EQ(surface, Surface(100, 100));
}

TEST(PreviewSettings, MagnificationComesFromTheDisplaySection) {
    FreeConfig();
    {
        const ScreenPreview preview;
        EXPECT_EQ(preview.magX, 2);
        EXPECT_EQ(preview.magY, 2);
        EXPECT_EQ(preview.font, nullptr);
        EXPECT_EQ(preview.width, 108);
        EXPECT_EQ(preview.height, 91);
    }
    TempDir dir;
    const std::string path = dir.File("tavlo.cfg");
    WriteFile(path, "[Image]\nMagX = 7\n[Display]\nMagX = 3\nMagY = 4\n");
    ASSERT_TRUE(ReadConfigFile(path));
    {
        const ScreenPreview preview;
        EXPECT_EQ(preview.magX, 3);
        EXPECT_EQ(preview.magY, 4);
    }
    FreeConfig();

    WriteFile(path, "[Display]\nMagX = big\nMagY = 0\n");
    ASSERT_TRUE(ReadConfigFile(path));
    {
        ScreenPreview preview;
        EXPECT_EQ(preview.magX, 2);  // not a number: the default
        EXPECT_EQ(preview.magY, 1);  // brought up to the smallest magnification, so it draws
        QImage surface = Surface(300, 300);
        PaintOn(surface, preview, "", 0, 0, kRed);
        EXPECT_NE(surface, Surface(300, 300));
    }
    FreeConfig();
}

TEST(PreviewPicture, TheEmbeddedScreenPictureIsDrawnTwiceItsSizeByDefault) {
    LoadedFont loaded(PreviewFontImage());
    ASSERT_TRUE(loaded.located);
    const QImage& picture = ScreenPictureImage();
    if (picture.isNull()) {
        GTEST_SKIP() << "this build carries no screen picture";
    }
    ASSERT_EQ(picture.size(), QSize(120, 133));
    FreeConfig();
    ScreenPreview preview;
    QImage surface = Surface(260, 280);
    PaintOn(surface, preview, "", 3, 4, kRed);
    EXPECT_EQ(surface.pixel(3, 4), qRgb(94, 100, 92));        // dark corner
    EXPECT_EQ(surface.pixel(3 + 239, 4 + 265), kBlack);       // last column and row
    EXPECT_EQ(surface.pixel(3 + 240, 4 + 265), kBackground);  // just outside
    // The text origin falls on picture pixel (5, 10), inside the screen area.
    EXPECT_EQ(surface.pixel(preview.originX, preview.originY), qRgb(183, 185, 162));

    // At magnification 1 it falls 10 columns and 20 rows into the picture, and the seventh
    // line's rows (picture rows 92 to 102) cross the screen area's lower outline at row 96.
    preview.magX = 1;
    preview.magY = 1;
    preview.font = &loaded.font;
    surface = Surface(260, 280);
    PaintOn(surface, preview, "\n\n\n\n\n\nA", 3, 4, kRed);
    EXPECT_EQ(surface.pixel(3 + 10, 4 + 20), qRgb(183, 185, 162));
    EXPECT_EQ(surface.pixel(3 + 10 + 50, 4 + 96), qRgb(94, 100, 92));  // left of the "A"
    for (int row = 92; row <= 102; ++row) {
        EXPECT_EQ(surface.pixel(3 + 10 + 51, 4 + row), kRed) << "picture row " << row;
    }
}

// tavlo-cli's picture (the screen layer's raster) and the dialog's painted preview are one
// picture, pixel for pixel, at every magnification and in both colours.
TEST(PreviewPicture, TheRasterEqualsThePaintedPreview) {
    LoadedFont loaded(PreviewFontImage());
    ASSERT_TRUE(loaded.located);
    struct Row {
        int magX, magY;
        Rgb colour;
    };
    for (const Row& row : {Row{1, 1, kTextFits}, Row{2, 2, kTextTooLong}, Row{3, 3, kTextFits},
                           Row{4, 2, kTextTooLong}, Row{2, 5, kTextFits}}) {
        SCOPED_TRACE(testing::Message() << row.magX << " x " << row.magY);
        const std::string text = "CAC CA\nA\n\n\n\n\nC";
        const RgbRaster raster = ComposePreview(&loaded.font, text, row.magX, row.magY, row.colour);
        ScreenPreview preview;
        preview.font = &loaded.font;
        preview.magX = row.magX;
        preview.magY = row.magY;
        QImage surface = Surface(raster.width, raster.height);
        PaintOn(surface, preview, text, 0, 0,
                qRgb(row.colour.red, row.colour.green, row.colour.blue));
        int differing = 0;
        for (int y = 0; y < raster.height; ++y) {
            for (int x = 0; x < raster.width; ++x) {
                const Rgb& want = raster.At(x, y);
                differing += surface.pixel(x, y) != qRgb(want.red, want.green, want.blue);
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
}  // namespace tavlo::test
