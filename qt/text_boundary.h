#pragma once

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

class QPlainTextEdit;
class QTextDocument;
class QWidget;

// The receiver's texts inside the program are Windows-1252 bytes, file names UTF-8 (the file
// system's own bytes on Linux); widgets show Unicode. These functions are the one crossing point
// between them.
namespace tavlo {

// A file name as the file system spells it, for a widget, and back: what the system's file
// calls and Qt's file dialogs take. A name that is not UTF-8 shows with U+FFFD in its place.
QString FromFileName(std::string_view name);
std::string ToFileName(const QString& name);

// Every byte has a character (the five undefined ones show as their C1 control), so this never
// fails and never loses a byte.
QString FromWindows1252(std::string_view text);

// For text already known to be representable (see IsWindows1252 and Windows1252Guard): a
// character the code page cannot hold is left out, never replaced by something else.
std::string ToWindows1252(const QString& text);

// True when every character has a Windows-1252 byte. Otherwise false, and *firstBad (when given)
// is the first offending UTF-16 unit (for a character beyond U+FFFF, its high surrogate).
bool IsWindows1252(const QString& text, QChar* firstBad = nullptr);

// True for the line-break characters a multi-line edit box holds: "\n", the paragraph separator
// between its blocks and the line separator that Shift+Enter inserts.
bool IsLineBreak(QChar c);

// The contents of a multi-line edit box with every line break as a single "\n": "\r\n", a lone
// "\r" and the box's own separators all become "\n"; every other character is kept as it is
// (a no-break space stays a no-break space).
QString PlainTextWithNewlines(const QTextDocument& document);

// Refuses, as they arrive, the characters Windows-1252 cannot hold: typed, pasted, dropped or
// composed. It keeps them out of the field (or removes them at once), beeps, leaves the cursor
// where the accepted text puts it, and emits `refused`. One guard serves a QLineEdit, an editable
// QComboBox (attach it after making the box editable) and a QPlainTextEdit; it belongs to the
// field it guards. In a QPlainTextEdit a paste that had characters removed ends the undo
// history, since undoing the removal would only bring them back.
class Windows1252Guard : public QValidator {
    Q_OBJECT
public:
    // Attaches a guard to `field`; returns nullptr for a widget of another kind.
    static Windows1252Guard* Attach(QWidget* field);

    // QValidator: strips the offending characters from `input`, moving `pos` with the text.
    State validate(QString& input, int& pos) const override;

protected:
    // Refuses typed and composed characters of a QPlainTextEdit before they reach its document.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The characters just removed, in the order they came.
    void refused(const QString& characters) const;

private:
    explicit Windows1252Guard(QObject* owner);
    void WatchDocument(QPlainTextEdit* box);
    void NoteChange(int position, int added);
    void StripPendingRange();
    void Refuse(const QString& characters) const;

    QTextDocument* document_ = nullptr;
    int pendingFrom_ = -1;  // range of document positions inserted since the last check
    int pendingTo_ = -1;
};

}  // namespace tavlo
