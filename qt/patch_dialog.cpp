#include "qt/patch_dialog.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextCursor>
#include <algorithm>
#include <cstdint>

#include "qt/dialog_units.h"
#include "qt/text_boundary.h"
#include "screen/device_font.h"
#include "screen/screen_layout.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {

namespace {

namespace tpl = patch_dialog_template;

// Takes the layout's pixels and draws none: for laying out lines without painting them.
class NoPixels : public PixelSink {
public:
    void LightPixel(int, int) override {}
};

// `pixels` device pixels at a magnification from the settings, which nothing bounds: none for
// a magnification below 1, and never more than a widget can be wide.
int Magnified(int pixels, int magnification) {
    const std::int64_t size = std::int64_t{pixels} * std::max(magnification, 0);
    return static_cast<int>(std::min<std::int64_t>(size, QWIDGETSIZE_MAX));
}

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

}  // namespace

PatchDialog::PatchDialog(QWidget* parent)
    : QDialog(parent), controls_(BuildDialog(*this, tpl::kTemplate)) {
    foundEdit_ = controls_.Get<QPlainTextEdit>(tpl::kFoundText);
    newEdit_ = controls_.Get<QPlainTextEdit>(tpl::kNewText);
    counter_ = controls_.Get<QLabel>(tpl::kCounter);
    hiddenNote_ = controls_.Get<QLabel>(tpl::kHiddenNote);
    previewLabel_ = controls_.Get<QLabel>(tpl::kPreviewLabel);
    info_ = controls_.Get<QLabel>(tpl::kInfoText);
    // The counter grows with its numbers, and in a font wider than the template's it would wrap
    // its second number out of sight. It keeps to one line and may use the free row up to the
    // Find Next button, less the 4 units the template leaves between buttons.
    counter_->setWordWrap(false);
    QRect counterArea = counter_->geometry();
    const DialogUnits units(QWidget::font());
    counterArea.setRight(
        std::max(counterArea.right(), Control(tpl::kFindNext)->x() - units.ToPixelsX(4) - 1));
    counter_->setGeometry(counterArea);

    connect(controls_.Get<QPushButton>(tpl::kOk), &QPushButton::clicked, this,
            &PatchDialog::accept);
    connect(controls_.Get<QPushButton>(tpl::kCancel), &QPushButton::clicked, this,
            &PatchDialog::reject);
    connect(controls_.Get<QPushButton>(tpl::kFindNext), &QPushButton::clicked, this,
            &PatchDialog::OnFindNext);
    // Connected after the box's Windows-1252 guard, so the counter sees the text the guard left.
    connect(newEdit_->document(), &QTextDocument::contentsChanged, this,
            &PatchDialog::OnChangeNewText);
}

void PatchDialog::SetRequest(const PatchRequest& request) {
    currentText_ = request.currentText;
    infoText_ = request.infoText;
    newText_ = request.newText;
    font_ = request.font;
}

PatchDialog::~PatchDialog() = default;

QWidget* PatchDialog::Control(int id) const {
    return controls_.Control(id);
}

void PatchDialog::OnInitDialog() {
    foundEdit_->setPlainText(FromWindows1252(currentText_));
    info_->setText(FromWindows1252(infoText_));
    preview_.font = font_;
    // A fresh start: the whole preview is painted again, whatever an earlier showing drew.
    shownLines_.clear();
    update(PreviewArea());
    newEdit_->setPlainText(FromWindows1252(newText_));
    OnChangeNewText();
    newEdit_->moveCursor(QTextCursor::Start);
    newEdit_->setFocus(Qt::OtherFocusReason);
}

void PatchDialog::showEvent(QShowEvent* event) {
    // Every showing starts from the fields, as each modal run does; a window-system show (after
    // being minimised) keeps what the user has typed.
    if (!event->spontaneous()) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

std::string PatchDialog::EditedText() const {
    return ToWindows1252(PlainTextWithNewlines(*newEdit_->document()));
}

void PatchDialog::OnChangeNewText() {
    previewText_ = EditedText();
    // The message length is the found message's own byte count; the box's line breaks are
    // single "\n" bytes, so both sides count alike.
    const auto newLength = static_cast<long long>(previewText_.size());
    const auto messageLength = static_cast<long long>(currentText_.size());
    // Set before the counter's text, so the counter shows its new text in the right colour.
    overLimit_ = messageLength < newLength;
    SetCounterColour(overLimit_ ? kRed : kBlack);
    counter_->setText(QStringLiteral("Current size: %1 / characters left: %2")
                          .arg(newLength)
                          .arg(messageLength - newLength));
    // The preview leaves out what the receiver cannot show; the note says so.
    NoPixels sink;
    const ScreenLayout layout(preview_.font, sink, preview_.width, preview_.height);
    std::string note = HiddenTextNote(layout.Hidden(previewText_));
    if (note != shownNote_) {  // the label repaints on every new text, even an equal one
        shownNote_ = std::move(note);
        hiddenNote_->setText(FromWindows1252(shownNote_));
    }
    // The preview is drawn at once, not at the next convenient moment.
    RepaintChangedLines(PreviewLines(previewText_), overLimit_ ? kRed : kBlack);
}

std::vector<std::string> PatchDialog::PreviewLines(std::string_view text) const {
    std::vector<std::string> lines;
    if (!preview_.font) {
        return lines;  // no font, no text on the screen
    }
    NoPixels sink;
    const ScreenLayout layout(preview_.font, sink, preview_.width, preview_.height);
    const auto visible = static_cast<std::size_t>(layout.VisibleLines());
    while (!text.empty() && lines.size() < visible) {
        lines.emplace_back(layout.NextLine(text));
    }
    return lines;
}

void PatchDialog::RepaintChangedLines(const std::vector<std::string>& lines, const QColor& colour) {
    // A line is drawn within its own band of the screen, so only the bands of lines that
    // changed (all of them when the colour did) need painting again.
    QRegion changed;
    const std::size_t count = std::max(lines.size(), shownLines_.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (colour != shownColour_ || i >= lines.size() || i >= shownLines_.size() ||
            lines[i] != shownLines_[i]) {
            changed += LineBand(static_cast<int>(i));
        }
    }
    shownLines_ = lines;
    shownColour_ = colour;
    if (!changed.isEmpty()) {
        repaint(changed);
    }
}

QRect PatchDialog::LineBand(int index) const {
    const int pitch = (preview_.font ? *preview_.font : DeviceFont()).linePitch;
    const QRect text = PreviewTextArea();
    return QRect(text.x(), text.y() + Magnified(index * pitch, preview_.magY), text.width(),
                 Magnified(pitch, preview_.magY));
}

QRect PatchDialog::PreviewTextArea() const {
    // The text starts 10 and 20 pixels into the picture and keeps to the device screen.
    return QRect(
        PreviewOrigin() + QPoint(kTextOffsetX, kTextOffsetY),
        QSize(Magnified(preview_.width, preview_.magX), Magnified(preview_.height, preview_.magY)));
}

QRect PatchDialog::PreviewArea() const {
    const QRect picture(PreviewOrigin(),
                        QSize(Magnified(preview_.picture.width(), preview_.magX),
                              Magnified(preview_.picture.height(), preview_.magY)));
    return picture | PreviewTextArea();
}

void PatchDialog::SetCounterColour(const QColor& colour) {
    if (counter_->palette().color(QPalette::WindowText) == colour) {
        return;
    }
    QPalette palette = counter_->palette();
    palette.setColor(QPalette::WindowText, colour);
    counter_->setPalette(palette);
}

QPoint PatchDialog::PreviewOrigin() const {
    // Taken from where the controls are at this moment, in pixels.
    const QPoint label = previewLabel_->mapTo(this, QPoint(0, 0));
    const QPoint found = foundEdit_->mapTo(this, QPoint(0, 0));
    return QPoint(label.x() - 1, found.y());
}

void PatchDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The dialog is also asked to paint behind its labels when their texts change; the preview
    // is drawn only when the area to paint reaches it.
    if (!event->region().intersects(PreviewArea())) {
        return;
    }
    QPainter painter(this);
    const QPoint origin = PreviewOrigin();
    preview_.Paint(painter, previewText_, origin.x(), origin.y(), overLimit_ ? kRed : kBlack);
}

void PatchDialog::accept() {
    newText_ = EditedText();
    done(ResultOk);
}

void PatchDialog::reject() {
    done(ResultCancel);
}

void PatchDialog::OnFindNext() {
    done(ResultFindNext);
}

}  // namespace tavlo
