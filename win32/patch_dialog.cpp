#include "win32/patch_dialog.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "win32/wide_text.h"
#include "win32/windows1252_guard.h"
#include "workflow/patch_dialog_layout.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {

namespace {

namespace tpl = patch_dialog_template;

// Sent to itself when the display's scale has changed, once Windows has scaled the dialog:
// the dots per inch in wParam.
constexpr UINT kDisplayScaleChanged = WM_APP + 1;

RECT RectOf(const PixelRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The part of the raster at (left, top) to (right, bottom) as a device-independent bitmap:
// 32-bit blue-green-red rows from the top.
void BlitRaster(HDC surface, const RgbRaster& raster, POINT at, const RECT& part) {
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb& c = raster.At(part.left + x, part.top + y);
            pixels[static_cast<std::size_t>(y) * width + x] =
                (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(surface, at.x + part.left, at.y + part.top, static_cast<DWORD>(width),
                      static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), pixels.data(),
                      &info, DIB_RGB_COLORS);
}

}  // namespace

void Win32PatchDialog::Run(HWND owner, PatchDialogFlow& flow) {
    flow_ = &flow;
    RunModal(owner, tpl::kTemplate);
}

void Win32PatchDialog::OnInitDialog() {
    flow_->SetDisplayDpi(DisplayDpiOf(Window()));
    MakeRoomForPreview();
    CentreWindow(Window(), GetWindow(Window(), GW_OWNER));
    GuardWindows1252(Control(tpl::kNewText));
    flow_->Start();
    // The box is ready to be typed in from its start, nothing selected.
    SetFocus(Control(tpl::kNewText));
    SendMessageW(Control(tpl::kNewText), EM_SETSEL, 0, 0);
}

void Win32PatchDialog::MakeRoomForPreview() {
    // From the template each time: after a change of display the controls are where the
    // dialog's new font puts them, whatever room an earlier preview took.
    LaidOutDialog laidOut = LayOutControls();
    PatchDialogPlaces places{{}, laidOut.clientWidth, laidOut.clientHeight};
    for (std::size_t i = 0; i < std::size(tpl::kControls); ++i) {
        if (tpl::kControls[i].id != kNoControlId) {
            places.controls.push_back({tpl::kControls[i].id, laidOut.controls[i].rect});
        }
    }
    RECT gap{0, 0, 4, 4};
    MapDialogRect(Window(), &gap);
    const PatchDialogPlaces arranged = ArrangePatchDialog(
        places, flow_->Preview().width, flow_->Preview().height, gap.right, gap.bottom);
    for (const ControlPlace& control : arranged.controls) {
        for (std::size_t i = 0; i < std::size(tpl::kControls); ++i) {
            if (tpl::kControls[i].id == control.id) {
                laidOut.controls[i].rect = control.rect;
            }
        }
    }
    laidOut.clientWidth = arranged.clientWidth;
    laidOut.clientHeight = arranged.clientHeight;
    PlaceControls(laidOut);
    if (HWND note = Control(tpl::kPreviewNote)) {
        const RECT area = PreviewArea();
        MoveWindow(note, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   FALSE);
    }
}

void Win32PatchDialog::OnDisplayScaleChanged(int dotsPerInch) {
    flow_->SetDisplayDpi(dotsPerInch);
    MakeRoomForPreview();
    InvalidateRect(Window(), nullptr, TRUE);
}

void Win32PatchDialog::ShowTexts(std::string_view foundText, std::string_view infoText,
                                 std::string_view newText) {
    SetControlText(tpl::kFoundText, WithCrLf(WideFromWindows1252(foundText)));
    SetControlText(tpl::kInfoText, WideFromWindows1252(infoText));
    SetControlText(tpl::kNewText, WithCrLf(WideFromWindows1252(newText)));
}

std::string Win32PatchDialog::NewText() const {
    return Windows1252FromWide(WithoutCr(ControlText(tpl::kNewText)));
}

void Win32PatchDialog::ShowCounter(std::string_view text, Rgb colour) {
    // Set before the counter's text, so the counter repaints in its new colour.
    counterColour_ = colour;
    SetControlText(tpl::kCounter, WideFromWindows1252(text));
    InvalidateRect(Control(tpl::kCounter), nullptr, TRUE);
}

void Win32PatchDialog::ShowHiddenNote(std::string_view text) {
    SetControlText(tpl::kHiddenNote, WideFromWindows1252(text));
}

void Win32PatchDialog::ShowPreviewNote(std::string_view text) {
    // A line of text where the picture would be, under "Preview:", for eyes and screen readers.
    const RECT area = PreviewArea();
    HWND note = CreateWindowExW(0, L"STATIC", WideFromWindows1252(text).c_str(),
                                WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, area.left,
                                area.top, area.right - area.left, area.bottom - area.top, Window(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(tpl::kPreviewNote)),
                                ProgramInstance(), nullptr);
    SendMessageW(note, WM_SETFONT, SendMessageW(Window(), WM_GETFONT, 0, 0), FALSE);
}

void Win32PatchDialog::ShowPreview(const RgbRaster& raster, RasterRows changed) {
    preview_ = &raster;
    const RECT area = PreviewArea();
    const RECT rows{area.left, area.top + changed.top, area.right, area.top + changed.bottom};
    InvalidateRect(Window(), &rows, FALSE);
    UpdateWindow(Window());
}

void Win32PatchDialog::Close() {
    // The answer is the flow's: the dialog's own result only ends its run.
    EndDialog(IDOK);
}

RECT Win32PatchDialog::PreviewArea() const {
    const int width = flow_->Preview().width;
    const int height = flow_->Preview().height;
    return RectOf(PreviewPlace(ClientRectOf(Window(), Control(tpl::kPreviewLabel)),
                               ClientRectOf(Window(), Control(tpl::kFoundText)), width, height));
}

void Win32PatchDialog::PaintPreview(HDC surface, const RECT& dirty) {
    const RECT area = PreviewArea();
    RECT part;
    if (preview_ == nullptr || !IntersectRect(&part, &area, &dirty)) {
        return;
    }
    OffsetRect(&part, -area.left, -area.top);
    BlitRaster(surface, *preview_, {area.left, area.top}, part);
}

bool Win32PatchDialog::OnCommand(int id, int notification) {
    switch (id) {
        case tpl::kNewText:
            if (notification == EN_CHANGE) {
                flow_->NewTextChanged();
            }
            return true;
        case tpl::kOk:
            flow_->Ok();
            return true;
        case tpl::kCancel:  // also Escape and the close box
            flow_->Cancel();
            return true;
        case tpl::kFindNext:
            flow_->FindNext();
            return true;
        default:
            return false;
    }
}

bool Win32PatchDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = FALSE;  // the focus is set
            return true;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) != Control(tpl::kCounter)) {
                return false;
            }
            SetTextColor(reinterpret_cast<HDC>(wParam),
                         RGB(counterColour_.red, counterColour_.green, counterColour_.blue));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        case WM_DPICHANGED:
            // Windows scales the dialog and its font first; the preview follows afterwards.
            PostMessageW(Window(), kDisplayScaleChanged, LOWORD(wParam), 0);
            return false;
        case kDisplayScaleChanged:
            OnDisplayScaleChanged(static_cast<int>(wParam));
            return true;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC surface = BeginPaint(Window(), &paint);
            PaintPreview(surface, paint.rcPaint);
            EndPaint(Window(), &paint);
            return true;
        }
        default:
            return false;
    }
}

Answer Win32PatchConfirmer::Confirm(PatchRequest& request) {
    Win32PatchDialog dialog;
    PatchDialogFlow flow(request, dialog);
    dialog.Run(owner_, flow);
    return flow.Result();
}

}  // namespace tavlo
