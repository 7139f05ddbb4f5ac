#pragma once

#include <windows.h>

#include <string>

#include "win32/dialog_window.h"
#include "workflow/patch_dialog_flow.h"

namespace tavlo {

// "Confirm / edit patch" on Windows: the view of a PatchDialogFlow. It shows the message found,
// the box for the text that replaces it, the counter, and blits the flow's preview raster right
// of the boxes, drawn for the display the dialog is on (and again when Windows says it moved
// to another); it passes on every change of the box and the button that ends it.
class Win32PatchDialog : public DialogWindow, public PatchDialogView {
public:
    // Runs the dialog modally over `owner` as the view of `flow`; the answer is the flow's.
    void Run(HWND owner, PatchDialogFlow& flow);

    // The dialog as the flow sees it.
    void ShowTexts(std::string_view foundText, std::string_view infoText,
                   std::string_view newText) override;
    std::string NewText() const override;
    void ShowCounter(std::string_view text, Rgb colour) override;
    void ShowHiddenNote(std::string_view text) override;
    void ShowPreview(const RgbRaster& raster, RasterRows changed) override;
    void ShowPreviewNote(std::string_view text) override;
    void Close() override;

    // Where the preview's picture lies now, in client pixels (its note, when it has none).
    RECT PreviewArea() const;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnInitDialog();
    void MakeRoomForPreview();
    void OnDisplayScaleChanged(int dotsPerInch);
    bool OnCommand(int id, int notification);
    void PaintPreview(HDC surface, const RECT& part);

    PatchDialogFlow* flow_ = nullptr;
    const RgbRaster* preview_ = nullptr;  // the flow's raster, which stays put while it runs
    Rgb counterColour_ = kTextFits;
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
