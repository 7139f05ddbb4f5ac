#include "win32/patch_dialog.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "screen/preview_picture.h"
#include "screen/screen_layout.h"
#include "settings/startup_values.h"
#include "win32/wide_text.h"
#include "win32/windows1252_guard.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {

namespace {

namespace tpl = patch_dialog_template;

// A control's rectangle in the dialog's client pixels, wherever it is at this moment.
RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The raster as a device-independent bitmap: 32-bit blue-green-red rows from the top.
void BlitRaster(HDC surface, const RgbRaster& raster, int x, int y) {
    std::vector<std::uint32_t> pixels(raster.pixels.size());
    std::transform(raster.pixels.begin(), raster.pixels.end(), pixels.begin(), [](const Rgb& c) {
        return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
    });
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = raster.width;
    info.bmiHeader.biHeight = -raster.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(surface, x, y, static_cast<DWORD>(raster.width),
                      static_cast<DWORD>(raster.height), 0, 0, 0, static_cast<UINT>(raster.height),
                      pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

Win32PatchDialog::Win32PatchDialog(const PatchRequest& request)
    : request_(request),
      newText_(request.newText),
      magX_(StartupMagnification("MagX")),
      magY_(StartupMagnification("MagY")) {}

INT_PTR Win32PatchDialog::Run(HWND owner) {
    return RunModal(owner, tpl::kTemplate);
}

HWND Win32PatchDialog::Show(HWND owner) {
    return CreateModeless(owner, tpl::kTemplate);
}

void Win32PatchDialog::OnInitDialog() {
    MakeRoomForPreview();
    CentreWindow(Window(), GetWindow(Window(), GW_OWNER));
    // The counter grows with its numbers; on one line it may use the row up to Find Next, less
    // the 4 units the template leaves between buttons.
    RECT counter = ClientRectOf(Window(), Control(tpl::kCounter));
    RECT gap{0, 0, 4, 0};
    MapDialogRect(Window(), &gap);
    counter.right =
        std::max(counter.right, ClientRectOf(Window(), Control(tpl::kFindNext)).left - gap.right);
    MoveWindow(Control(tpl::kCounter), counter.left, counter.top, counter.right - counter.left,
               counter.bottom - counter.top, FALSE);

    SetControlText(tpl::kFoundText, WithCrLf(WideFromWindows1252(request_.currentText)));
    SetControlText(tpl::kInfoText, WideFromWindows1252(request_.infoText));
    GuardWindows1252(Control(tpl::kNewText));
    SetControlText(tpl::kNewText, WithCrLf(WideFromWindows1252(request_.newText)));
    OnChangeNewText();
    // The box is ready to be typed in from its start, nothing selected.
    SetFocus(Control(tpl::kNewText));
    SendMessageW(Control(tpl::kNewText), EM_SETSEL, 0, 0);
}

void Win32PatchDialog::MakeRoomForPreview() {
    // The picture has a size in pixels, the dialog one in dialog units: with a small dialog font
    // or a magnification above 2 the picture would reach under the buttons or past the right
    // edge. The dialog then grows, the row of buttons below the picture moves down and stays at
    // the right edge; the boxes and labels keep their places.
    const RECT preview = PreviewArea();
    RECT gap{0, 0, 4, 4};
    MapDialogRect(Window(), &gap);
    RECT client;
    GetClientRect(Window(), &client);
    const int rowTop = ClientRectOf(Window(), Control(tpl::kFindNext)).top;
    const int down = std::max<int>(0, preview.bottom + gap.bottom - rowTop);
    const int right = std::max<int>(0, preview.right + gap.right - client.right);
    if (down == 0 && right == 0) {
        return;
    }
    for (const ControlTemplate& control : tpl::kControls) {
        if (control.id == kNoControlId) {
            continue;  // the label above the new-contents box
        }
        HWND child = Control(control.id);
        const RECT place = ClientRectOf(Window(), child);
        if (place.top < rowTop) {
            continue;
        }
        const bool button =
            control.kind == ControlKind::PushButton || control.kind == ControlKind::DefaultButton;
        SetWindowPos(child, nullptr, place.left + (button ? right : 0), place.top + down, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame;
    GetWindowRect(Window(), &frame);
    SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left + right,
                 frame.bottom - frame.top + down, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Win32PatchDialog::EditedText() const {
    return Windows1252FromWide(WithoutCr(ControlText(tpl::kNewText)));
}

void Win32PatchDialog::OnChangeNewText() {
    previewText_ = EditedText();
    const auto newLength = static_cast<long long>(previewText_.size());
    const auto messageLength = static_cast<long long>(request_.currentText.size());
    // Set before the counter's text, so the counter repaints in its new colour.
    overLimit_ = messageLength < newLength;
    SetControlText(tpl::kCounter, L"Current size: " + std::to_wstring(newLength) +
                                      L" / characters left: " +
                                      std::to_wstring(messageLength - newLength));
    InvalidateRect(Control(tpl::kCounter), nullptr, TRUE);
    // What the receiver will not show of the text.
    LitPixelGrid unused;
    const ScreenLayout layout(request_.font, unused);
    std::string note = HiddenTextNote(layout.Hidden(previewText_));
    if (note != shownNote_) {
        shownNote_ = std::move(note);
        SetControlText(tpl::kHiddenNote, WideFromWindows1252(shownNote_));
    }
    // The preview is drawn at once, not at the next convenient moment.
    const RECT area = PreviewArea();
    InvalidateRect(Window(), &area, FALSE);
    UpdateWindow(Window());
}

POINT Win32PatchDialog::PreviewOrigin() const {
    const RECT label = ClientRectOf(Window(), Control(tpl::kPreviewLabel));
    const RECT found = ClientRectOf(Window(), Control(tpl::kFoundText));
    return {label.left - 1, found.top};
}

RECT Win32PatchDialog::PreviewArea() const {
    const POINT origin = PreviewOrigin();
    return {origin.x, origin.y, origin.x + kPictureWidth * magX_,
            origin.y + kPictureHeight * magY_};
}

void Win32PatchDialog::PaintPreview(HDC surface) {
    const POINT origin = PreviewOrigin();
    const RgbRaster raster = ComposePreview(request_.font, previewText_, magX_, magY_,
                                            overLimit_ ? kTextTooLong : kTextFits);
    BlitRaster(surface, raster, origin.x, origin.y);
}

bool Win32PatchDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = FALSE;  // the focus is set
            return true;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case tpl::kNewText:
                    if (HIWORD(wParam) == EN_CHANGE) {
                        OnChangeNewText();
                    }
                    return true;
                case tpl::kOk:
                    newText_ = EditedText();
                    EndDialog(tpl::kOk);
                    return true;
                case tpl::kCancel:  // also Escape and the close box
                    EndDialog(tpl::kCancel);
                    return true;
                case tpl::kFindNext:
                    EndDialog(tpl::kFindNext);
                    return true;
                default:
                    return false;
            }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) != Control(tpl::kCounter)) {
                return false;
            }
            SetTextColor(reinterpret_cast<HDC>(wParam), overLimit_ ? RGB(255, 0, 0) : RGB(0, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC surface = BeginPaint(Window(), &paint);
            PaintPreview(surface);
            EndPaint(Window(), &paint);
            return true;
        }
        default:
            return false;
    }
}

Answer Win32PatchConfirmer::Confirm(PatchRequest& request) {
    Win32PatchDialog dialog(request);
    const Answer answer = tpl::AnswerOfDialogEnd(dialog.Run(owner_));
    if (answer == Answer::Ok) {
        request.newText = dialog.NewText();
    }
    return answer;
}

}  // namespace tavlo
