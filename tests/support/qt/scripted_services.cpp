#include "support/qt/scripted_services.h"

#include <QTest>

namespace tavlo::test {

void ScriptedUi::ShowMessage(QWidget* owner, std::string_view title, std::string_view text,
                             MessageIcon icon) {
    messages.push_back({owner, std::string(title), std::string(text), icon});
}

YesNoCancel ScriptedUi::NextAnswer(QWidget* owner, std::string_view title, std::string_view text) {
    questions.push_back({owner, std::string(title), std::string(text)});
    if (answers.empty()) {
        QTest::qFail("a question was asked that the test did not expect", __FILE__, __LINE__);
        return YesNoCancel::Cancel;
    }
    const YesNoCancel answer = answers.front().reply;
    answers.pop_front();
    return answer;
}

bool ScriptedUi::AskYesNo(QWidget* owner, std::string_view title, std::string_view text) {
    const YesNoCancel answer = NextAnswer(owner, title, text);
    if (answer == YesNoCancel::Cancel) {
        QTest::qFail("Cancel was scripted for a question without it", __FILE__, __LINE__);
    }
    return answer == YesNoCancel::Yes;
}

YesNoCancel ScriptedUi::AskYesNoCancel(QWidget* owner, std::string_view title,
                                       std::string_view text) {
    return NextAnswer(owner, title, text);
}

std::optional<QString> ScriptedUi::GetOpenFileName(QWidget* owner, const QString& initialName,
                                                   const std::vector<FileFilter>& filters,
                                                   const QString& defaultExtension) {
    fileRequests.push_back({owner, initialName, filters, defaultExtension});
    if (fileChoices.empty()) {
        return std::nullopt;
    }
    const QString choice = fileChoices.front();
    fileChoices.pop_front();
    if (choice.isEmpty()) {
        return std::nullopt;
    }
    return choice;
}

Answer ScriptedConfirmer::Confirm(PatchRequest& request) {
    requests.push_back(request);
    if (answers.empty()) {
        QTest::qFail("the patch dialog was shown more often than the test expected", __FILE__,
                     __LINE__);
        return Answer::Cancel;
    }
    const Reply answer = answers.front();
    answers.pop_front();
    if (answer.newText) {
        request.newText = *answer.newText;
    }
    return answer.result;
}

}  // namespace tavlo::test
