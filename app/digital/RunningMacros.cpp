#include "digital/RunningMacros.h"

#include "core/UserMessages.h"

namespace {

bool confirmed(UserMessages& messages, const std::string& text) {
    return messages.messageBox(text, MessageKind::Error, MessageButtons::YesNo) !=
           MessageResult::No;
}

}  // namespace

bool removeRunning(MacroQueue& queue, int index, UserMessages& messages) {
    if (index < 0 || static_cast<std::size_t>(index) >= queue.size()) return false;
    if (!confirmed(messages,
                   "Rozbalovanie zvoleneho makra sa zastavi !\r\nSte si isty, ze chcete "
                   "pokracovat ?"))
        return false;
    queue.erase(queue.begin() + index);
    return true;
}

bool clearRunning(MacroQueue& queue, UserMessages& messages) {
    if (!confirmed(messages,
                   "Rozbalovanie vsetkych makier sa zastavi !\r\nSte si isty, ze chcete "
                   "pokracovat ?"))
        return false;
    queue.clear();
    return true;
}
