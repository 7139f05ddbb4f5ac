// The patch dialog's preview on the Windows screen: what the user sees right of the edit boxes is
// the flow's preview raster, pixel for pixel, whole and beside the buttons at any magnification
// and at the display's scale, also after a move to a display of other dots per inch; it follows
// every change of the new-contents box; without a font its place says why.
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

// What the dialog shows at this moment.
struct Look {
    bool insideClient = false;  // the whole picture (or note) is seen
    bool clear = false;         // and no control of the dialog lies over it
    bool sameArea = false;      // pixel for pixel the flow's raster
    int width = 0;              // of the preview's place
    std::wstring note;          // what its place says instead, if anything
    std::string where;
};

// What a run of the dialog showed, noted from inside its modal loop.
struct Seen {
    Win32PatchDialog* dialog = nullptr;
    PatchDialogFlow* flow = nullptr;
    std::string typed;  // what the box is given, "\r\n" breaks as it holds them
    int dpi = 0;        // the display's, as the dialog found it
    bool tooLong = false;
    bool redCounter = false;
    Look first;
    Look moved;  // after Windows said the dialog is on the other display (OtherDpi)
};
Seen seen;

// Handles what has been posted to this thread so far.
void HandlePostedMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

Look LookAtPreview() {
    HWND window = seen.dialog->Window();
    HandlePostedMessages();
    UpdateWindow(window);
    Look look;
    const RgbRaster screen = test::CaptureClient(window);
    const RECT area = seen.dialog->PreviewArea();
    look.width = area.right - area.left;
    look.insideClient = area.right <= screen.width && area.bottom <= screen.height;
    look.clear = true;
    for (const ControlTemplate& control : tpl::kControls) {
        RECT overlap;
        const PixelRect place = ClientRectOf(window, GetDlgItem(window, control.id));
        const RECT rect{place.left, place.top, place.right, place.bottom};
        look.clear =
            look.clear && (control.id == kNoControlId || !IntersectRect(&overlap, &rect, &area));
    }
    if (HWND note = GetDlgItem(window, tpl::kPreviewNote)) {
        look.note = test::TextOf(note);
        const PixelRect place = ClientRectOf(window, note);
        look.sameArea = place.left == area.left && place.top == area.top &&
                        place.right == area.right && place.bottom == area.bottom;
    } else {
        look.sameArea =
            look.insideClient && SameArea(screen, seen.flow->Preview(), area, look.where);
    }
    return look;
}

// The display the dialog is moved to from one of `dpi`: twice the dots per inch of a small
// scale's, half those of a large one (a larger one would not fit the virtual screen).
int OtherDpi(int dpi) {
    return dpi >= 192 ? dpi / 2 : dpi * 2;
}

// Runs inside the dialog's modal loop: types as a replaced selection does (the box's change
// notification brings counter and preview up to date), looks, tells the dialog it is on the
// other display, looks again, and cancels.
void CALLBACK LookAndCancel(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND window = seen.dialog->Window();
    seen.dpi = DisplayDpiOf(window);
    HWND box = GetDlgItem(window, tpl::kNewText);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(WideFromWindows1252(seen.typed).c_str()));
    seen.tooLong = !seen.flow->State().fits;
    seen.first = LookAtPreview();
    seen.redCounter =
        test::HasColour(test::CaptureClient(GetDlgItem(window, tpl::kCounter)), kTextTooLong);
    if (const char* folder = std::getenv("TAVLO_SCREENSHOT_DIR"); folder && seen.tooLong) {
        test::WritePng(std::string(folder) + "/windows-patch-too-long.png",
                       test::CaptureWindow(window));
    }
    RECT frame;
    GetWindowRect(window, &frame);
    const WORD other = static_cast<WORD>(OtherDpi(seen.dpi));
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&frame));
    seen.moved = LookAtPreview();  // after the dialog's own message that follows Windows' scaling
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
}

TEST(Win32PatchDialog, ThePreviewOnScreenIsTheFlowsRasterAtTheDisplaysScale) {
    FirmwareImage image;
    ASSERT_TRUE(image.Load(TAVLO_SAMPLE_PATH));
    DeviceFont font;
    ASSERT_TRUE(font.Locate(image));
    const std::string message(40, 'M');
    const struct {
        const char* rule;
        int magnification;
        std::string typed;
        bool withFont = true;
    } rows[] = {
        {"a text that fits, in black", 2, "Lost? Call\r\nTerry 555-0100"},
        {"a text too long, in red", 2, std::string(41, 'W')},
        {"a magnification whose picture needs more room", 3, "Owner:\r\nA. N. Other"},
        {"an empty box shows the picture alone", 1, ""},
        {"a file without a font: its place says so", 2, "Owner", false},
    };
    // The display the test runs on (wine-gui-run.sh sets Wine's).
    const char* dpi = std::getenv("TAVLO_WINE_DPI");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        PatchRequest request{message,
                             "String to be replaced is 40 bytes long:\n",
                             "",
                             row.withFont ? &font : nullptr,
                             row.magnification,
                             row.magnification};
        Win32PatchDialog dialog;
        PatchDialogFlow flow(request, dialog);
        seen = Seen();
        seen.dialog = &dialog;
        seen.flow = &flow;
        seen.typed = row.typed;
        SetTimer(nullptr, 0, 200, &LookAndCancel);
        dialog.Run(nullptr, flow);
        EXPECT_EQ(flow.Result(), Answer::Cancel);
        if (dpi != nullptr) {
            EXPECT_EQ(seen.dpi, std::atoi(dpi));
        }
        const std::string text = Windows1252FromWide(WithoutCr(WideFromWindows1252(row.typed)));
        EXPECT_EQ(seen.tooLong, text.size() > message.size());
        EXPECT_EQ(seen.redCounter, seen.tooLong);  // the counter is red exactly then
        // The whole picture is seen, with no control over it, whatever the magnification, each
        // of its pixels as many display pixels as the display's scale; on the other display at
        // that one's.
        for (const Look* look : {&seen.first, &seen.moved}) {
            const bool moved = look == &seen.moved;
            SCOPED_TRACE(moved ? "moved to the other display" : "as opened");
            EXPECT_TRUE(look->insideClient);
            EXPECT_TRUE(look->clear);
            EXPECT_TRUE(look->sameArea) << look->where;
            EXPECT_EQ(look->width, 120 * row.magnification *
                                       DisplayScale(moved ? OtherDpi(seen.dpi) : seen.dpi));
            EXPECT_EQ(look->note.empty(), row.withFont);
        }
    }
}

}  // namespace
}  // namespace tavlo
