#include "digital/ValueFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/FileStore.h"

std::shared_ptr<ValueFile> ValueFile::open(const std::string& fileName) {
    const OpenedFile opened = openRegularFile(fileName);
    if (opened.fd < 0) return nullptr;
    return std::shared_ptr<ValueFile>(new ValueFile(opened.fd, opened.size));
}

ValueFile::~ValueFile() {
    ::close(fd_);
}

std::uint32_t ValueFile::readValue(std::int64_t position, int byteCount) {
    byteCount = std::clamp(byteCount, 0, 4);
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    const std::int64_t first = std::max<std::int64_t>(position, 0);
    const std::int64_t last = std::min<std::int64_t>(position + byteCount, size_);
    std::int64_t done = 0;
    while (first + done < last) {
        const ssize_t count = ::pread(fd_, bytes + (first - position) + done,
                                      static_cast<std::size_t>(last - first - done), first + done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;  // a file cut short since it was opened reads as 0
        done += count;
    }
    std::uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}
