#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/UserMessages.h"

// Stands in for the operator: records every message box and answers from a script
// (OK boxes are answered Ok; Yes/No boxes take the next scripted answer, No when none is left).
class RecordingMessages final : public UserMessages {
public:
    struct Call {
        std::string text;
        MessageKind kind;
        MessageButtons buttons;
    };

    MessageResult messageBox(const std::string& text, MessageKind kind,
                             MessageButtons buttons) override {
        calls.push_back({text, kind, buttons});
        if (buttons == MessageButtons::Ok) return MessageResult::Ok;
        if (answers.empty()) return MessageResult::No;
        MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Call& call : calls) result.push_back(call.text);
        return result;
    }

    std::deque<MessageResult> answers;
    std::vector<Call> calls;
};
