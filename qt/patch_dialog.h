#pragma once

#include <QDialog>
#include <QPoint>
#include <string>
#include <string_view>
#include <vector>

#include "qt/dialog_builder.h"
#include "qt/screen_preview.h"
#include "workflow/patch_step.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tavlo {

class DeviceFont;

// "Confirm / edit patch": shows the message found in the firmware, lets the user edit the text
// that replaces it, counts its size against the message's and draws it on the receiver's screen.
// Ends with 1 (OK), 2 (Cancel, Escape, close box) or 3 (Find Next).
//
// The patch step hands it the request, runs the dialog and, after OK only, reads NewText().
// The texts are Windows-1252 bytes with single "\n" line breaks; the conversion to what the
// widgets show happens when the dialog fills its controls and when OK takes them over.
class PatchDialog : public QDialog {
    Q_OBJECT
public:
    enum Result : int { ResultOk = 1, ResultCancel = 2, ResultFindNext = 3 };

    // Reads the preview's magnification from the settings as they are now.
    explicit PatchDialog(QWidget* parent = nullptr);
    ~PatchDialog() override;

    // Fills the controls from the fields, hands the font to the preview, updates counter and
    // preview, and puts the focus into the new-contents box. Runs by itself whenever the dialog
    // is shown; callers that want the controls filled without showing may call it directly.
    void OnInitDialog();

    // Where the preview's picture goes now, in client pixels: one pixel left of the "Preview:"
    // label and level with the top of the found-message box, wherever those controls are.
    QPoint PreviewOrigin() const;
    // Everything the preview may paint: the magnified picture and the device screen's text.
    QRect PreviewArea() const;
    // The part of it that the text can light: the device screen.
    QRect PreviewTextArea() const;

    // The control with this template id (1, 2, 3, 1004 ... 1011), or nullptr.
    QWidget* Control(int id) const;

    // OK: takes the edited text over into `newText` and ends with 1.
    void accept() override;
    // Cancel, Escape and the close box: ends with 2 and leaves the fields as they were.
    void reject() override;
    // Find Next: ends with 3 and leaves the fields as they were.
    void OnFindNext();

    // The match to show: the message found, "String to be replaced is %d bytes long:\n", the
    // proposed text and the receiver font (not owned; none when the image has none). The
    // controls take them when the dialog is next shown (or OnInitDialog runs).
    void SetRequest(const PatchRequest& request);

    const std::string& CurrentText() const { return currentText_; }
    const std::string& InfoText() const { return infoText_; }
    // The proposed text; after OK, the edited text.
    const std::string& NewText() const { return newText_; }
    const DeviceFont* ReceiverFont() const { return font_; }
    // Whether the text in the box is longer than the found message.
    bool IsOverLimit() const { return overLimit_; }
    ScreenPreview& Preview() { return preview_; }
    const ScreenPreview& Preview() const { return preview_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnChangeNewText();
    std::string EditedText() const;  // the new-contents box, Windows-1252 with "\n" breaks
    void SetCounterColour(const QColor& colour);
    // The lines of `text` that the preview shows (none without a font).
    std::vector<std::string> PreviewLines(std::string_view text) const;
    void RepaintChangedLines(const std::vector<std::string>& lines, const QColor& colour);
    QRect LineBand(int index) const;  // the preview's band of one text line

    bool overLimit_ = false;
    std::string currentText_;
    std::string infoText_;
    std::string newText_;
    const DeviceFont* font_ = nullptr;
    ScreenPreview preview_;
    DialogControls controls_;  // built from template 130
    QPlainTextEdit* foundEdit_ = nullptr;
    QPlainTextEdit* newEdit_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* hiddenNote_ = nullptr;
    std::string shownNote_;  // what the note under the counter says
    QLabel* previewLabel_ = nullptr;
    QLabel* info_ = nullptr;
    std::string previewText_;  // what the preview shows: the box's text at its last change
    std::vector<std::string> shownLines_;  // its lines on the screen, and their colour
    QColor shownColour_;
};

}  // namespace tavlo
