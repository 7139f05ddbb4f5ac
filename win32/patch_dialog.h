#pragma once

#include <windows.h>

#include <string>

#include "win32/dialog_window.h"
#include "workflow/patch_step.h"

namespace tavlo {

// "Confirm / edit patch" on Windows: the message found, the box for the text that replaces it,
// the counter (red past the message's length), and the receiver's screen painted beside them
// from the preview raster. Ends with the id of the button that ended it: OK, Cancel (also
// Escape and the close box) or Find Next.
class Win32PatchDialog : public DialogWindow {
public:
    // Reads the preview's magnification from the settings as they are now.
    explicit Win32PatchDialog(const PatchRequest& request);

    INT_PTR Run(HWND owner);
    HWND Show(HWND owner);  // modeless, for the tests

    // After OK: the edited text, Windows-1252 with "\n" line breaks.
    const std::string& NewText() const { return newText_; }
    bool IsOverLimit() const { return overLimit_; }
    // Where the picture's top-left corner is painted, in client pixels: one pixel left of the
    // "Preview:" label, level with the top of the found-message box.
    POINT PreviewOrigin() const;
    int MagX() const { return magX_; }
    int MagY() const { return magY_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnInitDialog();
    void MakeRoomForPreview();
    void OnChangeNewText();
    void PaintPreview(HDC surface);
    std::string EditedText() const;
    RECT PreviewArea() const;

    PatchRequest request_;
    std::string newText_;
    std::string previewText_;  // the box's text at its last change
    std::string shownNote_;
    bool overLimit_ = false;
    int magX_;
    int magY_;
};

// Confirms each match in the Windows patch dialog, over the main window.
class Win32PatchConfirmer : public PatchConfirmer {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    Answer Confirm(PatchRequest& request) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace tavlo
