#include "core/FileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

namespace {

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

void syncDirectoryOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) ::fsync(directory.get());
}

// What stands at the target: nothing, a regular file (whose permissions the new file takes)
// or something a file must never replace.
struct TargetState {
    bool replaceable = true;
    bool exists = false;
    mode_t mode = 0;
};

TargetState targetState(const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) return {};
    if (!S_ISREG(status.st_mode)) return {false, true, 0};
    return {true, true, static_cast<mode_t>(status.st_mode & 07777)};
}

// Writes the open temporary, flushes it and renames it over the target; removes the
// temporary on any failure.
ReplaceResult completeReplacement(Descriptor& file, const std::filesystem::path& temporary,
                                  const std::filesystem::path& target, const TargetState& state,
                                  std::span<const std::uint8_t> bytes) {
    const bool written = (!state.exists || ::fchmod(file.get(), state.mode) == 0) &&
                         writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    if (!file.close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return ReplaceResult::WriteFailed;
    }
    syncDirectoryOf(target);
    return ReplaceResult::Replaced;
}

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix)
        c = kLetters[pick(generator)];
    return suffix;
}

// Creates a file of a name that did not exist, beside the target: "NAME.xxxxxx.tmp".
int createUniqueTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    // Room for the suffix within the longest file name.
    const std::string base = target.filename().string().substr(0, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() / (base + "." + randomSuffix() + ".tmp");
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

OpenedFile openRegularFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return {};
    }
    return {fd, status.st_size};
}

FileRead readFileOfKind(const std::filesystem::path& path, std::size_t largestValidSize) {
    FileRead result;
    const OpenedFile opened = openRegularFile(path);
    Descriptor file(opened.fd);
    if (!file.valid()) return result;
    if (opened.size < 0 || static_cast<std::uintmax_t>(opened.size) > largestValidSize) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    std::vector<std::uint8_t>& content = result.content;
    content.reserve(static_cast<std::size_t>(opened.size));
    std::uint8_t chunk[65536];
    for (;;) {
        ssize_t count = ::read(file.get(), chunk, sizeof chunk);
        if (count < 0) {
            if (errno == EINTR) continue;
            content.clear();
            return result;
        }
        if (count == 0) break;
        // A file that grows while it is read stops at the bound as well.
        if (static_cast<std::size_t>(count) > largestValidSize - content.size()) {
            content.clear();
            result.status = ReadStatus::TooLarge;
            return result;
        }
        content.insert(content.end(), chunk, chunk + count);
    }
    result.status = ReadStatus::Read;
    return result;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path) {
    FileRead read = readFileOfKind(path, kLargestFileOfOurs);
    if (read.status != ReadStatus::Read) return std::nullopt;
    return std::move(read.content);
}

ReplaceResult replaceFileAtomically(const std::filesystem::path& target,
                                    const std::filesystem::path& temporary,
                                    std::span<const std::uint8_t> bytes) {
    const TargetState state = targetState(target);
    if (!state.replaceable) return ReplaceResult::WriteFailed;
    // unlink() leaves a folder of that name alone; creating the temporary then fails.
    ::unlink(temporary.c_str());
    Descriptor file(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.valid()) return ReplaceResult::CannotCreateTemporary;
    return completeReplacement(file, temporary, target, state, bytes);
}

ReplaceResult replaceFileAtomically(const std::filesystem::path& target,
                                    std::span<const std::uint8_t> bytes) {
    std::filesystem::path real = target;
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        real = std::filesystem::weakly_canonical(target, error);
        if (error) return ReplaceResult::CannotCreateTemporary;
    }
    const TargetState state = targetState(real);
    if (!state.replaceable) return ReplaceResult::CannotCreateTemporary;
    std::filesystem::path temporary;
    Descriptor file(createUniqueTemporary(real, temporary));
    if (!file.valid()) return ReplaceResult::CannotCreateTemporary;
    return completeReplacement(file, temporary, real, state, bytes);
}

bool writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file.valid()) return false;
    return writeAll(file.get(), bytes) && file.close();
}
