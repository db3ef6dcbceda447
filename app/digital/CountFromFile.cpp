#include "digital/CountFromFile.h"

#include <algorithm>
#include <limits>

#include "digital/IntegerText.h"
#include "digital/ValueFile.h"

std::optional<std::int32_t> countFromFile(const std::string& fileName, std::string_view offsetText,
                                          int valueWidth) {
    const std::optional<std::int32_t> offset = parseInteger32(offsetText);
    if (!offset) return std::nullopt;
    const std::shared_ptr<ValueFile> file = ValueFile::open(fileName);
    if (!file) return std::nullopt;
    const std::int64_t count = (file->size() - *offset) / (std::clamp(valueWidth, 0, 3) + 1);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        count, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}
