#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "core/UserMessages.h"

// For tests of the whole program only: answers every message box without showing it and
// appends a line for it to a log file, so that a test can run the real program unattended.
// Switched on by the environment variable Q745_TEST_LOG (the log file); Q745_TEST_ANSWERS
// holds the answers to questions in order, comma-separated ("yes", "no", "abort", "retry",
// "closed"). Without a scripted answer a Yes/No question is answered Yes and the device
// question (Yes/No/Abort/Retry) No; boxes with one button are answered OK.
//
// Log lines: "message<TAB>kind<TAB>text" (CR LF in the text written as "\n") and
// "event<TAB>what" for the program's own notes.
class ScriptedMessages final : public UserMessages {
public:
    ScriptedMessages(std::filesystem::path logFile, const std::string& answers);

    // Built from the environment; nothing when Q745_TEST_LOG is not set.
    static std::unique_ptr<ScriptedMessages> fromEnvironment();

    MessageResult messageBox(const std::string& text, MessageKind kind,
                             MessageButtons buttons) override;
    void note(const std::string& event);

private:
    void append(const std::string& line);

    std::filesystem::path logFile_;
    std::deque<MessageResult> answers_;
};
