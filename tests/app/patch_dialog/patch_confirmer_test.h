#pragma once

#include <QObject>

namespace tavlo::test {

// DialogPatchConfirmer through exec(), alone and inside the real patch step.
class PatchConfirmerTest : public QObject {
    Q_OBJECT
private slots:
    void okCopiesEditedTextBack();
    void cancelAndFindNextLeaveRequestAlone();
    void patchStepWritesOnlyAfterOk();
};

}  // namespace tavlo::test
