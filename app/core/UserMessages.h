#pragma once

#include <string>

// The way the cores talk to the operator. The application shows every call in a modal
// message box; tests and command-line tools answer with recorders or print the text.

enum class MessageKind { Warning, Error, Information, Confirmation };
// YesNoAbortRetry: only the device search question at start-up.
enum class MessageButtons { Ok, YesNo, YesNoAbortRetry };
// Closed: the box was closed by its close box, which counts as neither Yes nor No.
enum class MessageResult { Ok, Yes, No, Closed, Abort, Retry };

class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual MessageResult messageBox(const std::string& text, MessageKind kind,
                                     MessageButtons buttons) = 0;

    void error(const std::string& text) { messageBox(text, MessageKind::Error, MessageButtons::Ok); }
    void warning(const std::string& text) {
        messageBox(text, MessageKind::Warning, MessageButtons::Ok);
    }
    void information(const std::string& text) {
        messageBox(text, MessageKind::Information, MessageButtons::Ok);
    }
    // A Yes/No question; true only for Yes.
    bool ask(const std::string& text, MessageKind kind = MessageKind::Confirmation) {
        return messageBox(text, kind, MessageButtons::YesNo) == MessageResult::Yes;
    }
};
