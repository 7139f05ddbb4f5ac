#pragma once

#include <QObject>
#include <memory>

#include "support/qt/test_firmware.h"

namespace tavlo::test {

// The patch dialog through its real widgets, shown without a modal loop where possible.
class PatchDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void initialControlsShowTheFields();
    void foundMessageLineBreaksDoNotChangeItsLength();
    void typingUpdatesCounterColourAndPreviewOnEveryKey();
    void screenShowsWhatAFreshPaintShowsAfterEveryKey();
    void enterInsertsLineBreakAndKeepsDialogOpen();
    void whatTheReceiverHidesIsNotedUnderTheCounter();
    void emptyBoxShowsWholeLengthAndNoText();
    void withoutFontCounterWorksAndNoTextIsDrawn();
    void okTakesEditedTextOver();
    void cancelEscapeAndCloseBoxEndWithTwoAndKeepText();
    void findNextEndsWithThreeAndKeepsText();
    void mnemonicsReachTheirControls();
    void tabOrderFollowsTemplate();
    void controlsFollowTemplateInDialogUnits();
    void previewFollowsControlsRealPositions();
    void magnificationComesFromSettingsAndAnyValueIsSafe();
    void resizingMovesNothing();
    void charactersOutsideWindows1252AreRefused();
    void carriageReturnsBecomeSingleLineBreaks();
    void everyByteSurvivesTheRoundTrip();
    void showingAgainStartsFromTheFields();
    void execEndsWithTheButtonPressed();

private:
    std::unique_ptr<LoadedFirmware> firmware_;  // an image with a receiver font in it
};

}  // namespace tavlo::test
