#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A macro value file opened read-only for the length of one step operation. Entries of the
// running queue that name the same file share one ValueFile; it closes with the last of them.
class ValueFile {
public:
    // Nothing when the file cannot be opened or is not a regular file; opening never waits (a
    // FIFO is refused at once).
    static std::shared_ptr<ValueFile> open(const std::string& fileName);

    ValueFile(const ValueFile&) = delete;
    ValueFile& operator=(const ValueFile&) = delete;
    ~ValueFile();

    std::int64_t size() const { return size_; }

    // The little-endian number made of byteCount (1 to 4) bytes from position on; bytes beyond
    // the end of the file (or before its start) count as 0.
    std::uint32_t readValue(std::int64_t position, int byteCount);

private:
    ValueFile(int fd, std::int64_t size) : fd_(fd), size_(size) {}

    int fd_;
    std::int64_t size_;
};
