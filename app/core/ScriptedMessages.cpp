#include "core/ScriptedMessages.h"

#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

const char* kindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return "warning";
        case MessageKind::Error:
            return "error";
        case MessageKind::Information:
            return "information";
        case MessageKind::Confirmation:
            return "confirmation";
    }
    return "?";
}

std::string oneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n' || text[i] == '\r')
            line += "\\n";
        else
            line += text[i];
    }
    return line;
}

}  // namespace

ScriptedMessages::ScriptedMessages(std::filesystem::path logFile, const std::string& answers)
    : logFile_(std::move(logFile)) {
    std::size_t start = 0;
    while (start < answers.size()) {
        std::size_t end = answers.find(',', start);
        if (end == std::string::npos) end = answers.size();
        const std::string word = answers.substr(start, end - start);
        if (word == "yes") answers_.push_back(MessageResult::Yes);
        if (word == "no") answers_.push_back(MessageResult::No);
        if (word == "abort") answers_.push_back(MessageResult::Abort);
        if (word == "retry") answers_.push_back(MessageResult::Retry);
        if (word == "closed") answers_.push_back(MessageResult::Closed);
        start = end + 1;
    }
}

std::unique_ptr<ScriptedMessages> ScriptedMessages::fromEnvironment() {
    const char* log = std::getenv("Q745_TEST_LOG");
    if (log == nullptr || *log == 0) return nullptr;
    const char* answers = std::getenv("Q745_TEST_ANSWERS");
    return std::make_unique<ScriptedMessages>(log, answers != nullptr ? answers : "");
}

MessageResult ScriptedMessages::messageBox(const std::string& text, MessageKind kind,
                                           MessageButtons buttons) {
    append(std::string("message\t") + kindName(kind) + "\t" + oneLine(text));
    if (buttons == MessageButtons::Ok) return MessageResult::Ok;
    if (!answers_.empty()) {
        const MessageResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::No;
}

void ScriptedMessages::note(const std::string& event) {
    append("event\t" + event);
}

void ScriptedMessages::append(const std::string& line) {
    std::ofstream out(logFile_, std::ios::app | std::ios::binary);
    out << line << '\n';
}
