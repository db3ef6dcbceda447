#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

// A macro value file opened read-only for the length of one step operation. Entries of the
// running queue that name the same file share one ValueFile; it closes with the last of them.
class ValueFile {
public:
    // Nothing when the file cannot be opened.
    static std::shared_ptr<ValueFile> open(const std::string& fileName);

    std::int64_t size() const { return size_; }

    // The little-endian number made of byteCount (1 to 4) bytes from position on; bytes beyond
    // the end of the file (or before its start) count as 0.
    std::uint32_t readValue(std::int64_t position, int byteCount);

private:
    ValueFile(std::ifstream stream, std::int64_t size) : stream_(std::move(stream)), size_(size) {}

    std::ifstream stream_;
    std::int64_t size_;
    std::int64_t position_ = 0;  // where the stream stands, to skip needless seeks
};
