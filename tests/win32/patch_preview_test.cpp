// The patch dialog's preview on the Windows screen: what the user sees right of the edit boxes is
// the flow's preview raster, pixel for pixel, whole and beside the buttons at any
// magnification, and it follows every change of the new-contents box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/firmware_image.h"
#include "screen/device_font.h"
#include "support/png_reader.h"
#include "win32/patch_dialog.h"
#include "win32/wide_text.h"
#include "window_capture.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {
namespace {

namespace tpl = patch_dialog_template;

bool SameArea(const RgbRaster& screen, const RgbRaster& preview, const RECT& at,
              std::string& where) {
    for (int y = 0; y < preview.height; ++y) {
        for (int x = 0; x < preview.width; ++x) {
            const Rgb& seen = screen.At(at.left + x, at.top + y);
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

// What a run of the dialog showed, noted from inside its modal loop.
struct Seen {
    Win32PatchDialog* dialog = nullptr;
    PatchDialogFlow* flow = nullptr;
    std::string typed;  // what the box is given, "\r\n" breaks as it holds them
    bool tooLong = false;
    bool sameArea = false;
    bool insideClient = false;
    bool redCounter = false;
    std::string where;
};
Seen seen;

// Runs inside the dialog's modal loop: types as a replaced selection does (the box's change
// notification brings counter and preview up to date), looks, and cancels.
void CALLBACK Look(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND window = seen.dialog->Window();
    HWND box = GetDlgItem(window, tpl::kNewText);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(WideFromWindows1252(seen.typed).c_str()));
    UpdateWindow(window);
    test::WaitUntil([] { return true; });
    seen.tooLong = !seen.flow->State().fits;
    const RgbRaster screen = test::CaptureClient(window);
    const RECT area = seen.dialog->PreviewArea();
    seen.insideClient = area.right <= screen.width && area.bottom <= screen.height;
    seen.sameArea = seen.insideClient && SameArea(screen, seen.flow->Preview(), area, seen.where);
    seen.redCounter =
        test::HasColour(test::CaptureClient(GetDlgItem(window, tpl::kCounter)), kTextTooLong);
    if (const char* folder = std::getenv("TAVLO_SCREENSHOT_DIR"); folder && seen.tooLong) {
        test::WritePng(std::string(folder) + "/windows-patch-too-long.png",
                       test::CaptureWindow(window));
    }
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
}

TEST(Win32PatchDialog, ThePreviewOnScreenIsTheFlowsRaster) {
    FirmwareImage image;
    ASSERT_TRUE(image.Load(TAVLO_SAMPLE_PATH));
    DeviceFont font;
    ASSERT_TRUE(font.Locate(image));
    const std::string message(40, 'M');
    const struct {
        const char* rule;
        int magnification;
        std::string typed;
    } rows[] = {
        {"a text that fits, in black", 2, "Lost? Call\r\nTerry 555-0100"},
        {"a text too long, in red", 2, std::string(41, 'W')},
        {"a magnification whose picture needs more room", 3, "Owner:\r\nA. N. Other"},
        {"an empty box shows the picture alone", 1, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        PatchRequest request{message,
                             "String to be replaced is 40 bytes long:\n",
                             "",
                             &font,
                             row.magnification,
                             row.magnification};
        Win32PatchDialog dialog;
        PatchDialogFlow flow(request, dialog);
        seen = Seen();
        seen.dialog = &dialog;
        seen.flow = &flow;
        seen.typed = row.typed;
        SetTimer(nullptr, 0, 200, &Look);
        dialog.Run(nullptr, flow);
        EXPECT_EQ(flow.Result(), Answer::Cancel);
        const std::string text = Windows1252FromWide(WithoutCr(WideFromWindows1252(row.typed)));
        EXPECT_EQ(seen.tooLong, text.size() > message.size());
        // The whole picture is seen, with no control over it, whatever the magnification.
        EXPECT_TRUE(seen.insideClient);
        EXPECT_TRUE(seen.sameArea) << seen.where;
        EXPECT_EQ(seen.redCounter, seen.tooLong);  // the counter is red exactly then
    }
}

}  // namespace
}  // namespace tavlo
