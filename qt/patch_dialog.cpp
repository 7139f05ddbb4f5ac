#include "qt/patch_dialog.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextCursor>
#include <QWindow>
#include <cmath>

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
    FollowScreen();
}

void PatchDialog::FollowScreen() {
    // The raster is drawn in device pixels: at a device pixel ratio of 2 each of its pixels is
    // one device pixel of a preview twice the size (DisplayScale), never a pixel stretched.
    screenRatio_ = devicePixelRatioF();
    flow_->SetDisplayDpi(qRound(screenRatio_ * 96));
    if (!preview_.isNull()) {
        WrapPreview(flow_->Preview());
    }
    MakeRoomForPreview();
    update();
}

void PatchDialog::MakeRoomForPreview() {
    PatchDialogPlaces places{{}, width(), height()};
    for (const ControlTemplate& control : tpl::kControls) {
        if (control.id != kNoControlId) {
            places.controls.push_back(
                {control.id, PixelsOf(controls_.Control(control.id)->geometry())});
        }
    }
    const DialogUnits units(QWidget::font());
    const QSize preview = PreviewArea().size();
    places = ArrangePatchDialog(places, preview.width(), preview.height(), units.ToPixelsX(4),
                                units.ToPixelsY(4));
    for (const ControlPlace& control : places.controls) {
        controls_.Control(control.id)->setGeometry(RectOf(control.rect));
    }
    setFixedSize(places.clientWidth, places.clientHeight);
    if (previewNote_ != nullptr) {
        previewNote_->setGeometry(PreviewArea());
    }
}

void PatchDialog::showEvent(QShowEvent* event) {
    // Every showing starts from the request, as each modal run does; a window-system show
    // (after being minimised) keeps what the user has typed.
    if (!followsScreens_ && windowHandle() != nullptr) {
        followsScreens_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this, [this] {
            if (flow_ != nullptr) {
                FollowScreen();
            }
        });
    }
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

void PatchDialog::WrapPreview(const RgbRaster& raster) {
    preview_ = QImage(reinterpret_cast<const uchar*>(raster.pixels.data()), raster.width,
                      raster.height, raster.width * 3, QImage::Format_RGB888);
    preview_.setDevicePixelRatio(screenRatio_);
}

void PatchDialog::ShowPreview(const RgbRaster& raster, RasterRows changed) {
    if (preview_.constBits() != reinterpret_cast<const uchar*>(raster.pixels.data())) {
        WrapPreview(raster);
    }
    const QRect area = PreviewArea();
    const int top = static_cast<int>(std::floor(changed.top / screenRatio_));
    const int bottom = static_cast<int>(std::ceil(changed.bottom / screenRatio_));
    repaint(QRect(area.x(), area.y() + top, area.width(), bottom - top));
}

void PatchDialog::ShowPreviewNote(std::string_view text) {
    // A label where the picture would be, under "Preview:", for eyes and screen readers.
    if (previewNote_ == nullptr) {
        previewNote_ = new QLabel(this);
        previewNote_->setObjectName(QStringLiteral("previewNote"));
        previewNote_->setTextFormat(Qt::PlainText);
        previewNote_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        previewNote_->setWordWrap(true);
    }
    previewNote_->setText(FromWindows1252(text));
    previewNote_->setGeometry(PreviewArea());
    previewNote_->show();
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
    // The raster's device pixels in this widget's pixels, whole ones.
    const int width = flow_ != nullptr ? flow_->Preview().width : 0;
    const int height = flow_ != nullptr ? flow_->Preview().height : 0;
    return RectOf(PreviewPlace(placeOf(previewLabel_), placeOf(foundEdit_),
                               static_cast<int>(std::ceil(width / screenRatio_)),
                               static_cast<int>(std::ceil(height / screenRatio_))));
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
    const QRectF source(QPointF(part.topLeft() - area.topLeft()) * screenRatio_,
                        QSizeF(part.size()) * screenRatio_);
    painter.drawImage(QRectF(part), preview_, source);
}

Answer DialogPatchConfirmer::Confirm(PatchRequest& request) {
    PatchDialog dialog(parent_);
    PatchDialogFlow flow(request, dialog);
    dialog.SetFlow(flow);
    dialog.exec();
    return flow.Result();
}

}  // namespace tavlo
