#include "qt/patch_dialog.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextCursor>

#include "qt/dialog_units.h"
#include "qt/text_boundary.h"
#include "workflow/patch_dialog_layout.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo {

namespace {

namespace tpl = patch_dialog_template;

static_assert(sizeof(Rgb) == 3, "the raster's rows are read as 24-bit pixels");

PixelRect PixelsOf(const QRect& rect) {
    return {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
}

QRect RectOf(const PixelRect& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

QColor ColourOf(Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace

PatchDialog::PatchDialog(QWidget* parent)
    : QDialog(parent), controls_(BuildDialog(*this, tpl::kTemplate)) {
    foundEdit_ = controls_.Get<QPlainTextEdit>(tpl::kFoundText);
    newEdit_ = controls_.Get<QPlainTextEdit>(tpl::kNewText);
    counter_ = controls_.Get<QLabel>(tpl::kCounter);
    hiddenNote_ = controls_.Get<QLabel>(tpl::kHiddenNote);
    previewLabel_ = controls_.Get<QLabel>(tpl::kPreviewLabel);
    info_ = controls_.Get<QLabel>(tpl::kInfoText);
    // The counter grows with its numbers: it keeps to one line (ArrangePatchDialog gives it room).
    counter_->setWordWrap(false);

    connect(controls_.Get<QPushButton>(tpl::kOk), &QPushButton::clicked, this,
            [this] { flow_->Ok(); });
    connect(controls_.Get<QPushButton>(tpl::kCancel), &QPushButton::clicked, this,
            &PatchDialog::reject);
    connect(controls_.Get<QPushButton>(tpl::kFindNext), &QPushButton::clicked, this,
            [this] { flow_->FindNext(); });
    // Connected after the box's Windows-1252 guard, so the flow sees the text the guard left.
    connect(newEdit_->document(), &QTextDocument::contentsChanged, this, [this] {
        if (flow_ != nullptr) {
            flow_->NewTextChanged();
        }
    });
}

PatchDialog::~PatchDialog() = default;

void PatchDialog::SetFlow(PatchDialogFlow& flow) {
    flow_ = &flow;
    MakeRoomForPreview(QSize(flow.Preview().width, flow.Preview().height));
}

void PatchDialog::MakeRoomForPreview(QSize preview) {
    PatchDialogPlaces places{{}, width(), height()};
    for (const ControlTemplate& control : tpl::kControls) {
        if (control.id != kNoControlId) {
            places.controls.push_back(
                {control.id, PixelsOf(controls_.Control(control.id)->geometry())});
        }
    }
    const DialogUnits units(QWidget::font());
    places = ArrangePatchDialog(places, preview.width(), preview.height(), units.ToPixelsX(4),
                                units.ToPixelsY(4));
    for (const ControlPlace& control : places.controls) {
        controls_.Control(control.id)->setGeometry(RectOf(control.rect));
    }
    setFixedSize(places.clientWidth, places.clientHeight);
}

void PatchDialog::showEvent(QShowEvent* event) {
    // Every showing starts from the request, as each modal run does; a window-system show
    // (after being minimised) keeps what the user has typed.
    if (!event->spontaneous() && flow_ != nullptr) {
        flow_->Start();
        newEdit_->moveCursor(QTextCursor::Start);
        newEdit_->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void PatchDialog::ShowTexts(std::string_view foundText, std::string_view infoText,
                            std::string_view newText) {
    foundEdit_->setPlainText(FromWindows1252(foundText));
    info_->setText(FromWindows1252(infoText));
    newEdit_->setPlainText(FromWindows1252(newText));
}

void PatchDialog::ShowCounter(std::string_view text, Rgb colour) {
    QPalette palette = counter_->palette();
    if (palette.color(QPalette::WindowText) != ColourOf(colour)) {
        palette.setColor(QPalette::WindowText, ColourOf(colour));
        counter_->setPalette(palette);
    }
    counter_->setText(FromWindows1252(text));
}

void PatchDialog::ShowHiddenNote(std::string_view text) {
    hiddenNote_->setText(FromWindows1252(text));
}

void PatchDialog::ShowPreview(const RgbRaster& raster, RasterRows changed) {
    if (preview_.constBits() != reinterpret_cast<const uchar*>(raster.pixels.data())) {
        preview_ = QImage(reinterpret_cast<const uchar*>(raster.pixels.data()), raster.width,
                          raster.height, raster.width * 3, QImage::Format_RGB888);
    }
    const QRect area = PreviewArea();
    repaint(QRect(area.x(), area.y() + changed.top, area.width(), changed.bottom - changed.top));
}

void PatchDialog::Close() {
    // The answer is the flow's: the dialog's own result only ends its run.
    done(QDialog::Accepted);
}

void PatchDialog::reject() {
    if (flow_ != nullptr) {
        flow_->Cancel();
    } else {
        QDialog::reject();
    }
}

std::string PatchDialog::NewText() const {
    return ToWindows1252(PlainTextWithNewlines(*newEdit_->document()));
}

QRect PatchDialog::PreviewArea() const {
    // Taken from where the controls are at this moment, in pixels.
    const auto placeOf = [this](const QWidget* control) {
        return PixelsOf(QRect(control->mapTo(this, QPoint(0, 0)), control->size()));
    };
    return RectOf(PreviewPlace(placeOf(previewLabel_), placeOf(foundEdit_), preview_.width(),
                               preview_.height()));
}

void PatchDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The dialog is also asked to paint behind its labels when their texts change; the preview
    // is drawn only where the area to paint reaches it.
    const QRect area = PreviewArea();
    const QRect part = event->rect() & area;
    if (part.isEmpty() || preview_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(part.topLeft(), preview_, part.translated(-area.topLeft()));
}

Answer DialogPatchConfirmer::Confirm(PatchRequest& request) {
    PatchDialog dialog(parent_);
    PatchDialogFlow flow(request, dialog);
    dialog.SetFlow(flow);
    dialog.exec();
    return flow.Result();
}

}  // namespace tavlo
