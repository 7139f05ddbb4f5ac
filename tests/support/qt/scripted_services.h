#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "qt/ui_services.h"
#include "workflow/patch_step.h"

namespace tavlo::test {

// Answers the main dialog's message boxes, question and file dialog from a script, and records
// what it was shown.
class ScriptedUi : public UiServices {
public:
    struct Message {
        QWidget* owner;
        std::string title;
        std::string text;
        MessageIcon icon;
    };
    struct Question {
        QWidget* owner;
        std::string title;
        std::string text;
    };
    struct FileRequest {
        QWidget* owner;
        QString initialName;
        std::vector<FileFilter> filters;
        QString defaultExtension;
    };

    void ShowMessage(QWidget* owner, std::string_view title, std::string_view text,
                     MessageIcon icon) override;
    bool AskYesNo(QWidget* owner, std::string_view title, std::string_view text) override;
    YesNoCancel AskYesNoCancel(QWidget* owner, std::string_view title,
                               std::string_view text) override;
    std::optional<QString> GetOpenFileName(QWidget* owner, const QString& initialName,
                                           const std::vector<FileFilter>& filters,
                                           const QString& defaultExtension) override;

    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<FileRequest> fileRequests;

private:
    YesNoCancel NextAnswer(QWidget* owner, std::string_view title, std::string_view text);

public:
    // One scripted answer: true and false stand for Yes and No.
    struct ScriptedAnswer {
        ScriptedAnswer(bool yes) : reply(yes ? YesNoCancel::Yes : YesNoCancel::No) {}
        ScriptedAnswer(YesNoCancel reply) : reply(reply) {}
        YesNoCancel reply;
    };

    // For every question, in turn; an unscripted question fails, and so does a Cancel scripted
    // for a question without that button.
    std::deque<ScriptedAnswer> answers;
    std::deque<QString> fileChoices;  // for GetOpenFileName; an empty one, or none left, cancels
};

// Answers the patch step at each match, and records the requests it was given.
class ScriptedConfirmer : public PatchConfirmer {
public:
    struct Reply {
        Answer result;
        std::optional<std::string> newText;  // typed over the proposal before OK
    };

    Answer Confirm(PatchRequest& request) override;

    std::vector<PatchRequest> requests;
    std::deque<Reply> answers;  // an unscripted match cancels and fails the test
};

}  // namespace tavlo::test
