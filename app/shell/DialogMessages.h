#pragma once

#include "shell/MessageBox.h"
#include "core/UserMessages.h"

// The cores' message interface as the application shows it: every call is a messageBox.
class DialogMessages final : public UserMessages {
public:
    MessageResult messageBox(const std::string& text, MessageKind kind,
                             MessageButtons buttons) override {
        return ::messageBox(text, kind, buttons);
    }
};
