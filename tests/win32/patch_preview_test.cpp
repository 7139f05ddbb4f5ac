// The patch dialog's preview on the Windows screen: what the user sees right of the edit boxes is
// the preview raster, pixel for pixel, and it follows every change of the new-contents box.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/firmware_image.h"
#include "screen/device_font.h"
#include "screen/preview_picture.h"
#include "settings/settings_file.h"
#include "support/png_reader.h"
#include "support/test_files.h"
#include "win32/patch_dialog.h"
#include "win32/wide_text.h"
#include "window_capture.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {
namespace {

namespace tpl = patch_dialog_template;

bool SameArea(const RgbRaster& screen, const RgbRaster& preview, POINT at, std::string& where) {
    for (int y = 0; y < preview.height; ++y) {
        for (int x = 0; x < preview.width; ++x) {
            const Rgb& seen = screen.At(at.x + x, at.y + y);
            const Rgb& meant = preview.At(x, y);
            if (seen.red != meant.red || seen.green != meant.green || seen.blue != meant.blue) {
                where = "first difference at preview pixel " + std::to_string(x) + ", " +
                        std::to_string(y);
                return false;
            }
        }
    }
    return true;
}

TEST(Win32PatchDialog, ThePreviewOnScreenIsThePreviewRaster) {
    FirmwareImage image;
    ASSERT_TRUE(image.Load(TAVLO_SAMPLE_PATH));
    DeviceFont font;
    ASSERT_TRUE(font.Locate(image));
    const std::string message(40, 'M');

    const struct {
        const char* rule;
        const char* magnification;  // the [Display] settings
        int magX, magY;
        std::string typed;  // what the new-contents box is given, "\r\n" breaks as it holds them
    } rows[] = {
        {"a text that fits, in black", "MagX=2\r\nMagY=2", 2, 2, "Lost? Call\r\nTerry 555-0100"},
        {"a text too long, in red", "MagX=2\r\nMagY=2", 2, 2, std::string(41, 'W')},
        {"another magnification", "MagX=3\r\nMagY=3", 3, 3, "Owner:\r\nA. N. Other"},
        {"an empty box shows the picture alone", "MagX=1\r\nMagY=1", 1, 1, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        test::TempDir dir;
        test::WriteFile(dir.File("tavlo.cfg"), std::string("[Display]\r\n") + row.magnification);
        FreeConfig();
        ASSERT_NE(LoadConfig(dir.File("tavlo.exe")), nullptr);

        PatchRequest request{message, "String to be replaced is 40 bytes long:\n", "", &font};
        Win32PatchDialog dialog(request);
        HWND window = dialog.Show(nullptr);
        ASSERT_NE(window, nullptr);
        // As typed (a replaced selection): the box's change notification brings counter and
        // preview up to date.
        HWND box = GetDlgItem(window, tpl::kNewText);
        SendMessageW(box, EM_SETSEL, 0, -1);
        SendMessageW(box, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(WideFromWindows1252(row.typed).c_str()));
        UpdateWindow(window);
        test::WaitUntil([] { return true; });

        const std::string text = Windows1252FromWide(WithoutCr(WideFromWindows1252(row.typed)));
        const bool tooLong = text.size() > message.size();
        EXPECT_EQ(dialog.IsOverLimit(), tooLong);
        const RgbRaster preview =
            ComposePreview(&font, text, row.magX, row.magY, tooLong ? kTextTooLong : kTextFits);
        const RgbRaster screen = test::CaptureClient(window);
        const POINT origin = dialog.PreviewOrigin();
        // The whole picture is seen, with no control over it, whatever the magnification.
        ASSERT_LE(origin.x + preview.width, screen.width);
        ASSERT_LE(origin.y + preview.height, screen.height);
        std::string where;
        EXPECT_TRUE(SameArea(screen, preview, origin, where)) << where;
        // The counter is red exactly when the text is too long.
        EXPECT_EQ(
            test::HasColour(test::CaptureClient(GetDlgItem(window, tpl::kCounter)), kTextTooLong),
            tooLong);
        if (const char* folder = std::getenv("TAVLO_SCREENSHOT_DIR"); folder && tooLong) {
            test::WritePng(std::string(folder) + "/windows-patch-too-long.png",
                           test::CaptureWindow(window));
        }
    }
    FreeConfig();
}

}  // namespace
}  // namespace tavlo
