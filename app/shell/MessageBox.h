#pragma once

#include <string>

#include "core/UserMessages.h"

// The single path of every message of the application: a modal box centred on the active
// window, with the standard title and icon of its kind ("Warning", "Error", "Information",
// "Confirm"). Returns the button pressed; closing the box by its close box gives Closed.
MessageResult messageBox(const std::string& text, MessageKind kind, MessageButtons buttons);

// While an instance lives, messageBox hands every call to `responder` instead of showing a
// dialog; tests script the operator's answers this way. Instances nest: the innermost answers.
class ScopedMessageResponder {
public:
    explicit ScopedMessageResponder(UserMessages& responder);
    ~ScopedMessageResponder();
    ScopedMessageResponder(const ScopedMessageResponder&) = delete;
    ScopedMessageResponder& operator=(const ScopedMessageResponder&) = delete;

private:
    UserMessages* previous_;
};
