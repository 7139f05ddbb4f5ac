#include "qt/text_boundary.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "core/windows1252.h"

namespace tavlo {

namespace {

// Every character beyond U+FFFF (a surrogate pair) lies outside the code page.
bool Representable(QChar c) {
    return !c.isSurrogate() && CodePointToWindows1252(c.unicode()).has_value();
}

// Removes the offending characters from `text`; returns them. `pos`, when given, moves back by
// the characters removed before it.
QString StripUnrepresentable(QString& text, int* pos) {
    QString removed;
    qsizetype kept = 0;
    const int oldPos = pos ? *pos : 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (Representable(c) || IsLineBreak(c)) {
            text[kept++] = c;
            continue;
        }
        removed += c;
        if (pos && i < oldPos) {
            --*pos;
        }
    }
    text.truncate(kept);
    return removed;
}

}  // namespace

QString FromFileName(std::string_view name) {
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

std::string ToFileName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

QString FromWindows1252(std::string_view text) {
    QString out(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Every code point of the code page lies below U+FFFF: one UTF-16 unit per byte.
        out[static_cast<qsizetype>(i)] = QChar(
            static_cast<char16_t>(Windows1252ToCodePoint(static_cast<unsigned char>(text[i]))));
    }
    return out;
}

std::string ToWindows1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (c.isSurrogate()) {
            continue;
        }
        if (const auto byte = CodePointToWindows1252(c.unicode())) {
            out += static_cast<char>(*byte);
        }
    }
    return out;
}

bool IsWindows1252(const QString& text, QChar* firstBad) {
    for (const QChar c : text) {
        if (!Representable(c)) {
            if (firstBad) {
                *firstBad = c;
            }
            return false;
        }
    }
    return true;
}

bool IsLineBreak(QChar c) {
    return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

QString PlainTextWithNewlines(const QTextDocument& document) {
    // toPlainText() would also turn no-break spaces into spaces, which changes bytes; the raw text
    // keeps them and only the line breaks are unified here.
    const QString raw = document.toRawText();
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == u'\r') {
            if (i + 1 < raw.size() && IsLineBreak(raw.at(i + 1))) {
                ++i;
            }
            out += u'\n';
        } else if (IsLineBreak(c)) {
            out += u'\n';
        } else {
            out += c;
        }
    }
    return out;
}

Windows1252Guard::Windows1252Guard(QObject* owner) : QValidator(owner) {}

Windows1252Guard* Windows1252Guard::Attach(QWidget* field) {
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        auto* guard = new Windows1252Guard(line);
        line->setValidator(guard);
        return guard;
    }
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        if (!combo->isEditable()) {
            return nullptr;
        }
        auto* guard = new Windows1252Guard(combo);
        combo->setValidator(guard);
        return guard;
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(field)) {
        auto* guard = new Windows1252Guard(box);
        guard->WatchDocument(box);
        return guard;
    }
    return nullptr;
}

QValidator::State Windows1252Guard::validate(QString& input, int& pos) const {
    const QString removed = StripUnrepresentable(input, &pos);
    if (!removed.isEmpty()) {
        Refuse(removed);
    }
    return Acceptable;
}

void Windows1252Guard::WatchDocument(QPlainTextEdit* box) {
    document_ = box->document();
    // Typed and composed characters are refused before they reach the document.
    box->installEventFilter(this);
    // Whatever arrives another way (a paste, a drop) is cleaned once the edit is complete: its
    // range is noted while the document reports it, as changing a document from inside its
    // contentsChange signal is not safe.
    connect(document_, &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { NoteChange(position, added); });
    connect(document_, &QTextDocument::contentsChanged, this, &Windows1252Guard::StripPendingRange);
    // Text already in the box when the guard arrives is checked as well.
    NoteChange(0, document_->characterCount());
    StripPendingRange();
}

bool Windows1252Guard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        QString text = key->text();
        const QString removed = StripUnrepresentable(text, nullptr);
        if (removed.isEmpty()) {
            return false;
        }
        Refuse(removed);
        if (!text.isEmpty()) {
            // The rest of the key's text still goes in.
            QKeyEvent rest(key->type(), key->key(), key->modifiers(), text, key->isAutoRepeat(),
                           static_cast<ushort>(text.size()));
            QCoreApplication::sendEvent(watched, &rest);
        }
        return true;
    }
    if (event->type() == QEvent::InputMethod) {
        const auto* input = static_cast<QInputMethodEvent*>(event);
        QString commit = input->commitString();
        const QString removed = StripUnrepresentable(commit, nullptr);
        if (removed.isEmpty()) {
            return false;
        }
        Refuse(removed);
        QInputMethodEvent rest(input->preeditString(), input->attributes());
        rest.setCommitString(commit, input->replacementStart(), input->replacementLength());
        QCoreApplication::sendEvent(watched, &rest);
        return true;
    }
    return false;
}

void Windows1252Guard::NoteChange(int position, int added) {
    if (added <= 0) {
        return;
    }
    if (pendingFrom_ < 0) {
        pendingFrom_ = position;
        pendingTo_ = position + added;
    } else {
        pendingFrom_ = std::min(pendingFrom_, position);
        pendingTo_ = std::max(pendingTo_, position + added);
    }
}

void Windows1252Guard::StripPendingRange() {
    if (pendingFrom_ < 0) {
        return;
    }
    const int from = pendingFrom_;
    const int to = std::min(pendingTo_, document_->characterCount());
    pendingFrom_ = pendingTo_ = -1;

    QString removed;
    std::optional<QTextCursor> cursor;  // made only when there is something to remove
    // Backwards, so the positions still to visit do not move.
    for (int p = to - 1; p >= from; --p) {
        const QChar c = document_->characterAt(p);
        if (Representable(c) || IsLineBreak(c) || c.isNull()) {
            continue;
        }
        int first = p;
        if (c.isLowSurrogate() && p > from && document_->characterAt(p - 1).isHighSurrogate()) {
            first = p - 1;  // the pair is one character
        }
        if (!cursor) {
            cursor.emplace(document_);
        }
        cursor->setPosition(first);
        cursor->setPosition(p + 1, QTextCursor::KeepAnchor);
        removed.prepend(cursor->selectedText());
        cursor->removeSelectedText();
        p = first;
    }
    if (!removed.isEmpty()) {
        // Undoing the cleaning would only bring the refused characters back (to be removed
        // again, for ever): the edit history ends here.
        document_->clearUndoRedoStacks();
        Refuse(removed);
    }
}

void Windows1252Guard::Refuse(const QString& characters) const {
    QApplication::beep();
    emit refused(characters);
}

}  // namespace tavlo
