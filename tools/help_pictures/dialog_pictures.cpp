#include "tools/help_pictures/dialog_pictures.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "core/firmware_image.h"
#include "qt/linux/desktop_programs.h"
#include "qt/main_dialog.h"
#include "qt/patch_dialog.h"
#include "qt/qt_desktop_services.h"
#include "settings/settings_file.h"
#include "workflow/main_dialog_template.h"
#include "workflow/patch_dialog_template.h"
#include "workflow/search_loop.h"

namespace tavlo::tools {

namespace {

// The control's place in the dialog's client pixels.
QRect PlaceOf(const QWidget& dialog, const QWidget* control) {
    if (control == nullptr) {
        return {};
    }
    return QRect(control->mapTo(&dialog, QPoint(0, 0)), control->size());
}

// The dialog as it first appears, without the selection that the focused field shows.
QImage Photograph(QWidget& dialog) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        return {};
    }
    QTest::qWait(200);
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>()) {
        field->deselect();
    }
    QTest::qWait(50);
    return dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Shows the patch dialog for the request as the patch step would, and photographs it.
class PhotographingConfirmer : public PatchConfirmer {
public:
    Answer Confirm(PatchRequest& request) override {
        namespace tpl = patch_dialog_template;
        PatchDialog dialog;
        PatchDialogFlow flow(request, dialog);
        dialog.SetFlow(flow);
        shot.client = Photograph(dialog);
        shot.caption = QString::fromLatin1(tpl::kCaption);
        const auto add = [&](const char* anchor, const char* tooltip, QRect rect) {
            shot.regions.push_back({QString::fromLatin1(anchor), QString::fromUtf8(tooltip), rect});
        };
        const auto control = [&](const char* name) {
            return PlaceOf(dialog, dialog.findChild<QWidget*>(QString::fromLatin1(name)));
        };
        add("found-message", "The message found in the firmware, as it reads now",
            control("foundText"));
        add("new-text", "The text that will replace it: edit it here", control("newText"));
        add("preview", "The new text as the receiver will show it; red means too long",
            dialog.PreviewArea());
        add("patch-info", "How many bytes the message has room for", control("infoText"));
        add("cancel", "Leave this message as it is and stop searching", control("cancel"));
        add("ok", "Write the new text over the message (saved on Exit)", control("ok"));
        add("find-next", "Skip this message and look for the next one", control("findNext"));
        dialog.hide();
        return Answer::Cancel;
    }

    DialogShot shot;
};

// A folder holding the program's stand-in and a copy of the firmware, current while it lives.
class GrabFolder {
public:
    explicit GrabFolder(const std::string& firmwarePath) : previous_(QDir::currentPath()) {
        const QString source = QFile::decodeName(QByteArray::fromStdString(firmwarePath));
        firmwareCopy_ = folder_.filePath(QFileInfo(source).fileName());
        QFile::copy(source, firmwareCopy_);
        QDir::setCurrent(folder_.path());
    }
    ~GrabFolder() { QDir::setCurrent(previous_); }
    std::string ProgramPath() const {
        return QFile::encodeName(folder_.filePath("tavlo")).toStdString();
    }
    std::string FirmwareCopy() const { return QFile::encodeName(firmwareCopy_).toStdString(); }

private:
    QTemporaryDir folder_;
    QString previous_;
    QString firmwareCopy_;
};

}  // namespace

DialogShot GrabMainDialog(const std::string& firmwarePath) {
    namespace tpl = main_dialog_template;
    GrabFolder folder(firmwarePath);
    // Nothing is asked or started while the dialog is only shown.
    QtDesktopServices desktop;
    LinuxDesktopPrograms programs;
    FirmwareImage image;
    MainDialog dialog(folder.ProgramPath(), image, desktop, programs);
    DialogShot shot;
    shot.client = Photograph(dialog);
    // The title as the window shows it: the modified marker's place "[*]" is no text.
    shot.caption = dialog.windowTitle().remove(QStringLiteral("[*]"));
    const auto add = [&](const char* anchor, const char* tooltip, int id) {
        const QWidget* control = dialog.findChild<QWidget*>(QStringLiteral("control%1").arg(id));
        shot.regions.push_back(
            {QString::fromLatin1(anchor), QString::fromUtf8(tooltip), PlaceOf(dialog, control)});
    };
    add("file-name", "The firmware update file (.rgn) to patch: type its name or drop it here",
        tpl::kFileName);
    add("search-text",
        "The first letters of the power-on message, exactly as the receiver shows them",
        tpl::kSearchText);
    add("browse", "Choose the firmware file in a file dialog", tpl::kBrowse);
    add("search", "Load the file and look for the message", tpl::kSearch);
    add("view-help", "Show this page", tpl::kViewHelp);
    add("edit-settings", "Open the settings file tavlo.cfg in your text editor",
        tpl::kEditSettings);
    add("exit", "Leave Tavlo, saving the patched file if you say so", tpl::kExit);
    dialog.hide();
    return shot;
}

DialogShot GrabPatchDialog(const std::string& firmwarePath) {
    GrabFolder folder(firmwarePath);
    FirmwareImage image;
    PhotographingConfirmer confirmer;
    if (image.Load(folder.FirmwareCopy())) {
        RunSearch(image, "WARNING", Settings(), confirmer);
    }
    return confirmer.shot;
}

DialogShot FramePicture(const DialogShot& shot, QSize size) {
    constexpr int kBorder = 3;
    constexpr int kCaptionHeight = 22;
    const QRect clientArea(kBorder, kBorder + kCaptionHeight, size.width() - 2 * kBorder,
                           size.height() - kCaptionHeight - 2 * kBorder);
    // Shrunk only when it does not fit; a smaller client is centred on the dialog's own colour.
    const double scale =
        std::min({1.0, static_cast<double>(clientArea.width()) / shot.client.width(),
                  static_cast<double>(clientArea.height()) / shot.client.height()});
    const QSize scaledSize(static_cast<int>(std::lround(shot.client.width() * scale)),
                           static_cast<int>(std::lround(shot.client.height() * scale)));
    const QPoint origin =
        clientArea.topLeft() + QPoint((clientArea.width() - scaledSize.width()) / 2,
                                      (clientArea.height() - scaledSize.height()) / 2);
    const QColor face = shot.client.pixelColor(shot.client.width() - 1, shot.client.height() - 1);

    DialogShot framed;
    framed.caption = shot.caption;
    framed.client = QImage(size, QImage::Format_RGB32);
    framed.client.fill(face);
    QPainter painter(&framed.client);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(origin, scaledSize), shot.client);

    // The frame: a dark outline, the caption bar with the dialog's title and a close box.
    painter.setPen(QColor(0x3a, 0x3a, 0x3a));
    painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
    const QRect caption(kBorder, kBorder, size.width() - 2 * kBorder, kCaptionHeight - 2);
    QLinearGradient gradient(caption.topLeft(), caption.topRight());
    gradient.setColorAt(0, QColor(0x1f, 0x3a, 0x68));
    gradient.setColorAt(1, QColor(0x5a, 0x7f, 0xb4));
    painter.fillRect(caption, gradient);
    QFont titleFont = painter.font();
    titleFont.setBold(true);
    titleFont.setPixelSize(12);
    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(caption.adjusted(6, 0, -24, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     framed.caption);
    const QRect closeBox(caption.right() - 17, caption.top() + 3, 15, caption.height() - 6);
    painter.fillRect(closeBox, face);
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.drawRect(closeBox.adjusted(0, 0, -1, -1));
    painter.drawLine(closeBox.topLeft() + QPoint(4, 4), closeBox.bottomRight() - QPoint(5, 5));
    painter.drawLine(QPoint(closeBox.left() + 4, closeBox.bottom() - 5),
                     QPoint(closeBox.right() - 5, closeBox.top() + 4));
    painter.end();

    for (const PictureRegion& region : shot.regions) {
        const QRect rect(origin + QPoint(static_cast<int>(std::lround(region.rect.x() * scale)),
                                         static_cast<int>(std::lround(region.rect.y() * scale))),
                         QSize(static_cast<int>(std::lround(region.rect.width() * scale)),
                               static_cast<int>(std::lround(region.rect.height() * scale))));
        framed.regions.push_back({region.anchor, region.tooltip, rect});
    }
    return framed;
}

QString ImageMapHtml(const QString& mapName, const DialogShot& framed) {
    QString html = QStringLiteral("<map name=\"%1\" id=\"%1\">\n").arg(mapName);
    for (const PictureRegion& region : framed.regions) {
        const QRect& r = region.rect;
        html += QStringLiteral(
                    "  <area shape=\"rect\" coords=\"%1,%2,%3,%4\" href=\"#%5\" "
                    "title=\"%6\" alt=\"%6\">\n")
                    .arg(r.left())
                    .arg(r.top())
                    .arg(r.right() + 1)
                    .arg(r.bottom() + 1)
                    .arg(region.anchor, region.tooltip.toHtmlEscaped());
    }
    return html + QStringLiteral("</map>\n");
}

}  // namespace tavlo::tools
