#include "digital/MacroValueFiles.h"

#include <map>

#include "core/UserMessages.h"

bool openValueFiles(MacroQueue& queue, UserMessages& messages) {
    std::map<std::string, std::shared_ptr<ValueFile>> opened;
    for (TDigitalMacro& entry : queue) {
        if (entry.valueSource != kValueFromFile) continue;
        const std::string& fileName = entry.description;
        if (auto earlier = opened.find(fileName); earlier != opened.end()) {
            entry.valueFile = earlier->second;
            continue;
        }
        entry.valueFile = ValueFile::open(fileName);
        opened.emplace(fileName, entry.valueFile);
        if (!entry.valueFile) {
            const MessageResult answer = messages.messageBox(
                "Makro " + entry.name + " obsahuje odkaz na chybajuci subor:" + fileName +
                    "\r\nChcete pokracovat (makro ostane nerozvinute) ?",
                MessageKind::Error, MessageButtons::YesNo);
            if (answer == MessageResult::No) return false;
            continue;
        }
        const std::int64_t needed =
            static_cast<std::int64_t>(entry.cycles) * (entry.valueWidth + 1) + entry.fileOffset;
        if (needed > entry.valueFile->size()) {
            const MessageResult answer = messages.messageBox(
                "Makro " + entry.name + " obsahuje odkaz na prilis maly subor:" + fileName +
                    "\r\nChcete pokracovat (ostatne bajty budu 00h) ?",
                MessageKind::Warning, MessageButtons::YesNo);
            if (answer == MessageResult::No) return false;
        }
    }
    return true;
}

void closeValueFiles(MacroQueue& queue) {
    for (TDigitalMacro& entry : queue)
        entry.valueFile.reset();
}
