#pragma once

#include <QStringView>
#include <QTest>

namespace tavlo::test {

// Types `text` into `widget` one character at a time, as a keyboard (or an input method) would
// deliver it: QTest::keyClicks knows only ASCII keys.
inline void Type(QWidget* widget, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character beyond U+FFFF comes as one key event with both of its UTF-16 units.
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length).toString(),
                            Qt::NoModifier);
        i += length - 1;
    }
}

}  // namespace tavlo::test
