#include "InputFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

InputFile::InputFile() : fd_(::memfd_create("q745-fuzz-input", MFD_CLOEXEC)) {
    if (fd_ < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

InputFile::~InputFile() {
    ::close(fd_);
}

const std::filesystem::path& InputFile::holding(const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    if (::ftruncate(fd_, 0) != 0) std::abort();
    while (done < size) {
        const ssize_t written = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        if (written <= 0) std::abort();
        done += static_cast<std::size_t>(written);
    }
    return path_;
}
