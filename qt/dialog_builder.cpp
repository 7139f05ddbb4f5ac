#include "qt/dialog_builder.h"

#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <utility>
#include <vector>

#include "qt/clickable_icon.h"
#include "qt/dialog_units.h"
#include "qt/text_boundary.h"
#include "qt/typing_limit.h"
#include "workflow/dialog_places.h"

namespace tavlo {

namespace {

Qt::Alignment TextAlignment(unsigned style) {
    const Qt::Alignment horizontal = (style & kCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
    const Qt::Alignment vertical = (style & kVCentred) ? Qt::AlignVCenter : Qt::AlignTop;
    return horizontal | vertical;
}

QWidget* MakeIcon(QDialog& dialog, const QPixmap& icon) {
    auto* label = new ClickableIcon(&dialog);
    label->setPixmap(icon);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* MakeStatic(QDialog& dialog, const ControlTemplate& control) {
    auto* label = new QLabel(FromWindows1252(control.text), &dialog);
    // Texts put in later, some from the firmware, must never be taken for markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(TextAlignment(control.style));
    label->setWordWrap(true);
    if (control.style & kSunken) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    return label;
}

// A field of text for the receiver holds Windows-1252 only: characters the code page lacks are
// refused as they are typed; a file name takes any character. A field that does not scroll
// sideways stops taking characters at its visible width.
void GuardField(QWidget* field, QLineEdit* edit, unsigned style) {
    Windows1252Guard* guard = (style & kFileNameText) ? nullptr : Windows1252Guard::Attach(field);
    TypingLimit::Attach(edit, guard)->SetStopAtVisibleWidth(!(style & kAutoHScroll));
}

QWidget* MakeEdit(QDialog& dialog, const ControlTemplate& control) {
    auto* edit = new QLineEdit(&dialog);
    GuardField(edit, edit, control.style);
    return edit;
}

// A multi-line edit box that, unless its template wants Enter, leaves the key to the dialog,
// whose default button it presses.
class MultiLineEdit : public QPlainTextEdit {
public:
    MultiLineEdit(bool wantReturn, QWidget* parent)
        : QPlainTextEdit(parent), wantReturn_(wantReturn) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !wantReturn_) {
            event->ignore();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

private:
    bool wantReturn_;
};

QWidget* MakeMultiLineEdit(QDialog& dialog, const ControlTemplate& control) {
    auto* edit = new MultiLineEdit(control.style & kWantReturn, &dialog);
    edit->setLineWrapMode((control.style & kAutoHScroll) ? QPlainTextEdit::NoWrap
                                                         : QPlainTextEdit::WidgetWidth);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy((control.style & kVScrollBar) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
    if (!(control.style & kBorder)) {
        edit->setFrameShape(QFrame::NoFrame);
    }
    // Tab moves on to the next control, as in every dialog.
    edit->setTabChangesFocus(true);
    if (control.style & kReadOnly) {
        // Its text stays readable, can be scrolled through with the wheel or the keyboard and
        // copied, but not changed.
        edit->setReadOnly(true);
        edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    } else {
        Windows1252Guard::Attach(edit);
    }
    return edit;
}

QWidget* MakeButton(QDialog& dialog, const ControlTemplate& control) {
    auto* button = new QPushButton(FromWindows1252(control.text), &dialog);
    button->setDefault(control.kind == ControlKind::DefaultButton);
    return button;
}

// The closed box takes the toolkit's natural height for the font; the rest of the template's
// height is the dropped list.
QWidget* MakeDropDown(QDialog& dialog, const ControlTemplate& control, const QRect& area) {
    auto* box = new QComboBox(&dialog);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    const int closedHeight = std::min(area.height(), box->sizeHint().height());
    const int itemHeight = std::max(1, box->fontMetrics().height() + 2);
    box->setMaxVisibleItems(std::max(1, (area.height() - closedHeight) / itemHeight));
    box->setGeometry(area.x(), area.y(), area.width(), closedHeight);
    GuardField(box, box->lineEdit(), control.style);
    return box;
}

QWidget* MakeControl(QDialog& dialog, const ControlTemplate& control, const QRect& area,
                     const QPixmap& icon) {
    switch (control.kind) {
        case ControlKind::Icon:
            return MakeIcon(dialog, icon);
        case ControlKind::Static:
        case ControlKind::Label:
            return MakeStatic(dialog, control);
        case ControlKind::Edit:
            return MakeEdit(dialog, control);
        case ControlKind::MultiLineEdit:
            return MakeMultiLineEdit(dialog, control);
        case ControlKind::PushButton:
        case ControlKind::DefaultButton:
            return MakeButton(dialog, control);
        case ControlKind::DropDownCombo:
            return MakeDropDown(dialog, control, area);
    }
    return nullptr;
}

void SetUpFrame(QDialog& dialog, const DialogTemplate& dialogTemplate) {
    if (!(dialogTemplate.style & kApplicationFont)) {
        QFont font(QString::fromLatin1(dialogTemplate.fontFamily), dialogTemplate.fontPointSize);
        font.setStyleHint(QFont::SansSerif);
        dialog.setFont(font);
    }
    dialog.setWindowTitle(FromWindows1252(dialogTemplate.caption));
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogUnits units(dialog.font());
    const QSize size(units.ToPixelsX(dialogTemplate.width), units.ToPixelsY(dialogTemplate.height));
    if (dialogTemplate.style & kResizableFrame) {
        dialog.resize(size);
    } else {
        dialog.setFixedSize(size);
    }
}

// A label's text as it shows it: "&" marks the mnemonic, "&&" is one "&".
QString ShownText(const QString& text) {
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

// Every label keeps its text on one line in the dialog's font (FitLabelTexts).
void FitLabels(QDialog& dialog, const DialogTemplate& dialogTemplate,
               const std::vector<QWidget*>& widgets) {
    LaidOutDialog laidOut{{}, dialog.width(), dialog.height()};
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const QRect place = widgets[i]->geometry();
        LaidOutControl control{
            {place.x(), place.y(), place.x() + place.width(), place.y() + place.height()}};
        if (dialogTemplate.controls[i].kind == ControlKind::Label) {
            const auto* label = static_cast<const QLabel*>(widgets[i]);
            control.labelTextWidth =
                label->fontMetrics().horizontalAdvance(ShownText(label->text()));
        }
        laidOut.controls.push_back(control);
    }
    const LaidOutDialog fitted = FitLabelTexts(laidOut);
    if (fitted.clientWidth == laidOut.clientWidth) {
        return;  // every text fits: nothing moves
    }
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const PixelRect& place = fitted.controls[i].rect;
        widgets[i]->setGeometry(place.left, place.top, place.right - place.left,
                                place.bottom - place.top);
    }
    if (dialogTemplate.style & kResizableFrame) {
        dialog.resize(fitted.clientWidth, fitted.clientHeight);
    } else {
        dialog.setFixedSize(fitted.clientWidth, fitted.clientHeight);
    }
}

}  // namespace

QWidget* DialogControls::Control(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

DialogControls BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate,
                           const QPixmap& icon) {
    SetUpFrame(dialog, dialogTemplate);
    const DialogUnits units(dialog.font());

    DialogControls controls;
    QWidget* previousTabStop = nullptr;
    QLabel* pendingBuddyLabel = nullptr;
    std::vector<std::pair<QLabel*, int>> labelsWithBuddy;  // bound once every control exists
    for (const ControlTemplate& control : dialogTemplate.controls) {
        const QRect area = units.ToPixels(control.x, control.y, control.width, control.height);
        QWidget* widget = MakeControl(dialog, control, area, icon);
        if (control.kind != ControlKind::DropDownCombo) {
            widget->setGeometry(area);
        }
        if (control.objectName) {
            widget->setObjectName(QString::fromLatin1(control.objectName));
        } else if (control.id != kNoControlId) {
            widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        }
        if (control.id != kNoControlId) {
            controls.byId_[control.id] = widget;
        }
        controls.inOrder_.push_back(widget);

        if (pendingBuddyLabel) {
            pendingBuddyLabel->setBuddy(widget);
            pendingBuddyLabel = nullptr;
        }
        if (control.kind == ControlKind::Label) {
            auto* label = static_cast<QLabel*>(widget);
            if (control.buddyId == kNoControlId) {
                pendingBuddyLabel = label;
            } else {
                labelsWithBuddy.emplace_back(label, control.buddyId);
            }
        }
        if (control.style & kTabStop) {
            widget->setFocusPolicy(Qt::StrongFocus);
            if (previousTabStop) {
                QWidget::setTabOrder(previousTabStop, widget);
            }
            previousTabStop = widget;
        } else if (control.kind != ControlKind::Static && control.kind != ControlKind::Label &&
                   control.kind != ControlKind::Icon) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
    }
    for (const auto& [label, buddyId] : labelsWithBuddy) {
        label->setBuddy(controls.Control(buddyId));
    }
    FitLabels(dialog, dialogTemplate, controls.InOrder());
    return controls;
}

}  // namespace tavlo
