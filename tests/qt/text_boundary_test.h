#pragma once

#include <QObject>

namespace tavlo::test {

// Windows-1252 at the widget boundary: the conversions and the guard on the three kinds of field.
class TextBoundaryTest : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips();
    void unrepresentableCharactersAreFound();
    void lineBreaksBecomeSingleNewlines();
    void lineEditRefusesTypedAndPastedCharacters();
    void editableComboBoxRefusesCharacters();
    void plainTextEditRefusesTypedComposedAndPasted();
    void otherWidgetsGetNoGuard();
};

}  // namespace tavlo::test
