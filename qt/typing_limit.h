#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

namespace tavlo {

class Windows1252Guard;

// Stops typing in a field once it is full, the way an edit box of the desktop platform does: an
// edit by the user that would make the text longer than a number of characters, or (for a field
// that does not scroll sideways) wider than the field shows, is undone with a beep. Text the
// program puts into the field is never cut, and shortening a text that is already too long is
// allowed. The field's Windows-1252 guard, when given, still checks every edit first.
class TypingLimit : public QValidator {
    Q_OBJECT
public:
    // Becomes the validator of `field` (a QLineEdit, or the edit of an editable QComboBox);
    // belongs to the field.
    static TypingLimit* Attach(QLineEdit* field, Windows1252Guard* guard);

    void SetMaxLength(int characters) { maxLength_ = characters; }  // 0: no limit
    void SetStopAtVisibleWidth(bool stop) { stopAtVisibleWidth_ = stop; }

    // Puts the program's own text into the field, whatever its length: typing stops at the
    // limit after it all the same.
    void PutText(const QString& text);

    State validate(QString& input, int& pos) const override;

private:
    TypingLimit(QLineEdit* field, Windows1252Guard* guard);
    bool Exceeds(const QString& text) const;
    int VisibleWidth() const;

    QLineEdit* field_;
    Windows1252Guard* guard_;
    QString shown_;  // the field's text before the edit being validated
    int maxLength_ = 0;
    bool stopAtVisibleWidth_ = false;
    bool putting_ = false;  // the program's text is going in
};

}  // namespace tavlo
