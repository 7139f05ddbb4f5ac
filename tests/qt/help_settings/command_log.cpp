#include "command_log.h"

namespace tavlo::test {

int RecordingStarter::Start(const QString& program, const QStringList& arguments) {
    started.push_back({program, arguments});
    QStringList words{program};
    words << arguments;
    log_.push_back(("start " + words.join(QLatin1Char(' '))).toStdString());
    int result = 0;
    if (!results.empty()) {
        result = results.front();
        results.pop_front();
    }
    if (result == 0 && onStart) {
        onStart();
    }
    return result;
}

void LoggingUi::ShowMessage(QWidget* owner, std::string_view title, std::string_view text,
                            MessageIcon icon) {
    ScriptedUi::ShowMessage(owner, title, text, icon);
    log_.push_back("show " + std::string(title));
    if (onMessage) {
        onMessage(messages.back());
    }
}

bool LoggingUi::AskYesNo(QWidget* owner, std::string_view title, std::string_view text) {
    log_.push_back("ask " + std::string(title));
    return ScriptedUi::AskYesNo(owner, title, text);
}

}  // namespace tavlo::test
