#pragma once

#include "core/UserMessages.h"

// Answers every message box without the operator, who is gone (the session is ending): OK
// where that is the only button, otherwise No, so that nothing is started or searched for.
class UnattendedMessages final : public UserMessages {
public:
    MessageResult messageBox(const std::string&, MessageKind, MessageButtons buttons) override {
        return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::No;
    }
};
