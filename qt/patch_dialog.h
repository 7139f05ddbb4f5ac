#pragma once

#include <QDialog>
#include <QPoint>
#include <string>
#include <string_view>
#include <vector>

#include "qt/dialog_builder.h"
#include "qt/screen_preview.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tavlo {

class DeviceFont;

// "Confirm / edit patch": shows the message found in the firmware, lets the user edit the text
// that replaces it, counts its size against the message's and draws it on the receiver's screen.
// Ends with 1 (OK), 2 (Cancel, Escape, close box) or 3 (Find Next).
//
// The patch step fills the public fields, runs the dialog and, after OK only, reads `newText`.
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

    bool overLimit = false;   // the new text is longer than the found message
    std::string currentText;  // the message found in the image
    std::string infoText;     // "String to be replaced is %d bytes long:\n"
    std::string newText;      // the proposed text; after OK, the edited text
    // The receiver font (not owned), none when the image has none. It hides QWidget::font();
    // the dialog's own font is QWidget::font().
    const DeviceFont* font = nullptr;
    ScreenPreview preview;

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

    DialogControls controls_;  // built from template 130
    QPlainTextEdit* foundEdit_ = nullptr;
    QPlainTextEdit* newEdit_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QLabel* info_ = nullptr;
    std::string previewText_;  // what the preview shows: the box's text at its last change
    std::vector<std::string> shownLines_;  // its lines on the screen, and their colour
    QColor shownColour_;
};

}  // namespace tavlo
