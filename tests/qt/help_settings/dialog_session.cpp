#include "dialog_session.h"

namespace tavlo::test {

void DialogSession::Open(const std::string& programPath) {
    dialog_ = std::make_unique<MainDialog>(programPath.empty() ? work.ProgramPath() : programPath,
                                           ui, confirmer);
    dialog_->SetImage(&image);
    dialog_->SetProgramStarter(starter);
    dialog_->show();
    if (!QTest::qWaitForWindowExposed(dialog_.get())) {
        QTest::qFail("the main dialog was not shown", __FILE__, __LINE__);
    }
}

void DialogSession::Type(const QString& fileName, const QString& searchText) {
    Field<QLineEdit>(kIdFileName)->setText(fileName);
    Field<QComboBox>(kIdSearchText)->setEditText(searchText);
}

}  // namespace tavlo::test
