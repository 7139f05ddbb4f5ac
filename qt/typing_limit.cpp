#include "qt/typing_limit.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include "qt/text_boundary.h"

namespace tavlo {

namespace {

// QLineEdit keeps this many pixels free on either side of its text, and one for the cursor.
constexpr int kLineEditMargin = 2;

}  // namespace

TypingLimit::TypingLimit(QLineEdit* field, Windows1252Guard* guard)
    : QValidator(field), field_(field), guard_(guard), shown_(field->text()) {
    // The validator runs before the field reports the change, so this still holds the text
    // from before the edit when the next one is validated.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
}

TypingLimit* TypingLimit::Attach(QLineEdit* field, Windows1252Guard* guard) {
    auto* limit = new TypingLimit(field, guard);
    field->setValidator(limit);
    return limit;
}

void TypingLimit::PutText(const QString& text) {
    // A text the field took as invalid would let the next key through: the field undoes only
    // an edit of a text that was valid.
    putting_ = true;
    field_->setText(text);
    putting_ = false;
}

QValidator::State TypingLimit::validate(QString& input, int& pos) const {
    if (guard_) {
        guard_->validate(input, pos);
    }
    if (!putting_ && input.size() > shown_.size() && Exceeds(input)) {
        QApplication::beep();
        return Invalid;  // the field undoes the edit
    }
    return Acceptable;
}

bool TypingLimit::Exceeds(const QString& text) const {
    if (maxLength_ > 0 && text.size() > maxLength_) {
        return true;
    }
    return stopAtVisibleWidth_ && field_->fontMetrics().horizontalAdvance(text) > VisibleWidth();
}

int TypingLimit::VisibleWidth() const {
    QStyleOptionFrame option;
    option.initFrom(field_);
    option.rect = field_->rect();
    option.lineWidth = field_->hasFrame() ? field_->style()->pixelMetric(
                                                QStyle::PM_DefaultFrameWidth, &option, field_)
                                          : 0;
    const QRect contents =
        field_->style()->subElementRect(QStyle::SE_LineEditContents, &option, field_);
    const QMargins margins = field_->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin - 1;
}

}  // namespace tavlo
