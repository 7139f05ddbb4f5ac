#include "tools/screen_picture.h"

#include "tools/glyph_drawings.h"

namespace tavlo::tools {
namespace {

#include "tools/caption_font.inc"

constexpr int kCaptionRows = 6;
constexpr int kCaptionPitch = 9;
// Columns 0, 1 and 119 belong to the picture's edges; the caption stays off them.
constexpr int kCaptionLeftmost = 2;
constexpr int kCaptionRightmost = kPictureWidth - 2;

void Fill(IndexedPicture& picture, int top, int bottom, int left, int right, PictureColour colour) {
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            picture.At(row, column) = colour;
        }
    }
}

// Width of a caption line: its letters with one blank column between each two.
bool MeasureLine(const DrawingSet& font, std::string_view line, int& width, std::string& error) {
    width = 0;
    for (char c : line) {
        const auto glyph = font.glyphs.find(static_cast<unsigned char>(c));
        if (glyph == font.glyphs.end()) {
            error = std::string("the caption font has no letter '") + c + "'";
            return false;
        }
        width += glyph->second.Width() + (width > 0 ? 1 : 0);
    }
    return true;
}

bool DrawCaption(IndexedPicture& picture, std::string& error) {
    const DrawingParse parse = ParseDrawings(kCaptionFontDrawings, kCaptionRows);
    if (!parse.error.empty()) {
        error = "caption_font.inc, " + parse.error;
        return false;
    }
    const int lineCount = static_cast<int>(std::size(kCaptionLines));
    const int blockHeight = (lineCount - 1) * kCaptionPitch + kCaptionRows;
    const int top = kCaptionTop + (kCaptionBottom - kCaptionTop + 1 - blockHeight) / 2;
    for (int index = 0; index < lineCount; ++index) {
        const std::string_view line = kCaptionLines[index];
        int width = 0;
        if (!MeasureLine(parse.set, line, width, error)) {
            return false;
        }
        int column = (kPictureWidth - width) / 2;
        if (column < kCaptionLeftmost || column + width - 1 > kCaptionRightmost) {
            error = "the caption line \"" + std::string(line) + "\" is " + std::to_string(width) +
                    " pixels wide and does not fit the picture";
            return false;
        }
        const int lineTop = top + index * kCaptionPitch;
        for (char c : line) {
            const Drawing& glyph = parse.set.glyphs.at(static_cast<unsigned char>(c));
            for (int row = 0; row < kCaptionRows; ++row) {
                for (int x = 0; x < glyph.Width(); ++x) {
                    if (glyph.Lit(row, x)) {
                        picture.At(lineTop + row, column + x) = kBlack;
                    }
                }
            }
            column += glyph.Width() + 1;
        }
    }
    return true;
}

}  // namespace

ScreenPictureDrawing DrawScreenPicture() {
    ScreenPictureDrawing result;
    IndexedPicture& picture = result.picture;
    picture.width = kPictureWidth;
    picture.height = kPictureHeight;
    picture.pixels.assign(kPictureWidth * kPictureHeight, kBody);
    picture.palette[kBlack] = kBlackRgb;
    picture.palette[kDark] = kDarkRgb;
    picture.palette[kBody] = kBodyRgb;
    picture.palette[kLight] = kLightRgb;

    const int last = kPictureWidth - 1;
    const int bottom = kPictureHeight - 1;
    // The screen area: a dark one-pixel outline around the light display.
    Fill(picture, 4, 96, 4, 116, kDark);
    Fill(picture, 5, 95, 5, 115, kLight);
    // The case edges: a light highlight just inside the dark top and left edges, a black shadow
    // along the right and bottom edges. Their ranges meet without overlapping: the dark edges
    // own row 0 and column 0 whole, the highlight and the shadow start at row 1 and column 1,
    // and the highlight stops one short of the shadow.
    Fill(picture, 1, 1, 1, last - 1, kLight);
    Fill(picture, 1, bottom - 1, 1, 1, kLight);
    Fill(picture, 0, 0, 0, last, kDark);
    Fill(picture, 0, bottom, 0, 0, kDark);
    Fill(picture, 1, bottom, last, last, kBlack);
    Fill(picture, bottom, bottom, 1, last, kBlack);

    if (!DrawCaption(picture, result.error)) {
        result.picture = {};
    }
    return result;
}

}  // namespace tavlo::tools
