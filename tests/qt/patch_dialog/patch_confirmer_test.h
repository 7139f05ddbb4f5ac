#pragma once

#include <QObject>

namespace tavlo::test {

// DialogPatchConfirmer through exec(): alone, inside the real patch step and from the real main
// dialog's Search.
class PatchConfirmerTest : public QObject {
    Q_OBJECT
private slots:
    void okCopiesEditedTextBack();
    void cancelAndFindNextLeaveRequestAlone();
    void patchStepWritesOnlyAfterOk();
    void searchFindNextTypeAndOkFromTheMainDialog();
};

}  // namespace tavlo::test
