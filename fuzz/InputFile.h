#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

// For readers that take a file name: the input as the content of a file in memory, rewritten
// for every input. The file is a regular file, as the readers require.
class InputFile {
public:
    InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // The file now holds exactly these bytes.
    const std::filesystem::path& holding(const std::uint8_t* data, std::size_t size);

private:
    int fd_;
    std::filesystem::path path_;
};
