#include "digital/ValueFile.h"

#include <algorithm>

std::shared_ptr<ValueFile> ValueFile::open(const std::string& fileName) {
    std::ifstream stream(fileName, std::ios::binary);
    if (!stream) return nullptr;
    stream.seekg(0, std::ios::end);
    const std::streamoff size = stream.tellg();
    if (size < 0) return nullptr;
    stream.seekg(0, std::ios::beg);
    return std::shared_ptr<ValueFile>(new ValueFile(std::move(stream), size));
}

std::uint32_t ValueFile::readValue(std::int64_t position, int byteCount) {
    byteCount = std::clamp(byteCount, 0, 4);
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    const std::int64_t first = std::max<std::int64_t>(position, 0);
    const std::int64_t last = std::min<std::int64_t>(position + byteCount, size_);
    if (first < last) {
        if (first != position_) {
            stream_.clear();
            stream_.seekg(first);
        }
        stream_.read(reinterpret_cast<char*>(bytes + (first - position)), last - first);
        position_ = stream_ ? last : -1;
    }
    std::uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}
