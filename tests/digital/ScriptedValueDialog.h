#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "digital/MacroValueDialog.h"

// Stands in for "Enter value for macro": records each request and answers from a script
// ("Abort" when the script is used up).
class ScriptedValueDialog final : public MacroValueDialog {
public:
    std::optional<MacroValueAnswer> askMacroValue(const MacroValueRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        std::optional<MacroValueAnswer> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<MacroValueAnswer>> answers;
    std::vector<MacroValueRequest> requests;
};
