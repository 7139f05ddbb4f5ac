#pragma once

#include <QDialog>
#include <QImage>
#include <string>

#include "qt/dialog_builder.h"
#include "workflow/patch_dialog_flow.h"

class QLabel;
class QPlainTextEdit;

namespace tavlo {

// "Confirm / edit patch": the view of a PatchDialogFlow. It shows the message found in the
// firmware, the box for the text that replaces it, the counter, and the flow's preview raster
// right of the boxes, drawn for the screen the dialog is on (one raster pixel a device pixel,
// and again when the dialog moves to another screen); it passes on every change of the box and
// the button that ends it.
class PatchDialog : public QDialog, public PatchDialogView {
    Q_OBJECT
public:
    explicit PatchDialog(QWidget* parent = nullptr);
    ~PatchDialog() override;

    // The flow this dialog shows, for its next showing (exec() or show()); it outlives the
    // dialog's run. The dialog makes room for the flow's preview.
    void SetFlow(PatchDialogFlow& flow);

    // Where the preview's picture lies now, in client pixels: its corner one pixel left of the
    // "Preview:" label and level with the top of the found-message box, wherever those are (its
    // note, when it has none).
    QRect PreviewArea() const;

    // The dialog as the flow sees it.
    void ShowTexts(std::string_view foundText, std::string_view infoText,
                   std::string_view newText) override;
    // The new-contents box, Windows-1252 with "\n" line breaks.
    std::string NewText() const override;
    void ShowCounter(std::string_view text, Rgb colour) override;
    void ShowHiddenNote(std::string_view text) override;
    void ShowPreview(const RgbRaster& raster, RasterRows changed) override;
    void ShowPreviewNote(std::string_view text) override;
    void Close() override;

    // Cancel, Escape and the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Tells the flow the dots per inch of the screen the dialog is on, and makes room for the
    // preview's size there.
    void FollowScreen();
    void MakeRoomForPreview();
    void WrapPreview(const RgbRaster& raster);

    PatchDialogFlow* flow_ = nullptr;
    DialogControls controls_;  // built from template 130
    QPlainTextEdit* foundEdit_ = nullptr;
    QPlainTextEdit* newEdit_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* hiddenNote_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QLabel* info_ = nullptr;
    QLabel* previewNote_ = nullptr;  // in the preview's place when there is none
    QImage preview_;  // over the flow's raster, which stays put while the dialog runs
    // Device pixels per pixel of the screen the preview is drawn for.
    qreal screenRatio_ = 1;
    bool followsScreens_ = false;
};

// The desktop program's answer to each match: the patch dialog, run modally.
class DialogPatchConfirmer : public PatchConfirmer {
public:
    // `parent`: the window the dialog runs over (it centres on it), or none.
    explicit DialogPatchConfirmer(QWidget* parent = nullptr) : parent_(parent) {}

    Answer Confirm(PatchRequest& request) override;

private:
    QWidget* parent_;
};

}  // namespace tavlo
