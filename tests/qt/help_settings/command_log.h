#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "qt/program_starter.h"
#include "support/qt/scripted_services.h"

namespace tavlo::test {

// What the commands did, in order, as one line each: "ask <title>", "show <title>",
// "start <program> <arguments...>". Lets a test read a whole sequence at a glance.
using CommandLog = std::vector<std::string>;

// Records each program start instead of starting it, answers with the scripted error numbers
// (0, a start, when none are left) and runs `onStart` as the program would begin.
class RecordingStarter : public ProgramStarter {
public:
    explicit RecordingStarter(CommandLog& log) : log_(log) {}

    struct Started {
        QString program;
        QStringList arguments;
    };

    int Start(const QString& program, const QStringList& arguments) override;

    std::vector<Started> started;
    std::deque<int> results;
    std::function<void()> onStart;

private:
    CommandLog& log_;
};

// The main dialog's scripted boxes, logging each one and running `onMessage` while it is "open"
// (the user's time: for a box that waits for the user, the editing happens here).
class LoggingUi : public ScriptedUi {
public:
    explicit LoggingUi(CommandLog& log) : log_(log) {}

    void ShowMessage(QWidget* owner, std::string_view title, std::string_view text,
                     MessageIcon icon) override;
    bool AskYesNo(QWidget* owner, std::string_view title, std::string_view text) override;

    std::function<void(const Message&)> onMessage;

private:
    CommandLog& log_;
};

}  // namespace tavlo::test
