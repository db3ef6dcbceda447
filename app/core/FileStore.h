#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// Reading and safely replacing the files the application keeps for itself and the files it
// writes for the operator.

enum class ReadStatus {
    Read,
    CannotOpen,  // missing, unreadable, or not a regular file (a folder, a device, a FIFO)
    TooLarge,    // larger than any valid file of the kind; nothing was read
};

struct FileRead {
    ReadStatus status = ReadStatus::CannotOpen;
    std::vector<std::uint8_t> content;
};

// A regular file opened for reading, with its size then; `fd` is -1 when the path names
// anything else (missing, unreadable, a folder, a device, a FIFO). Opening never blocks: a
// FIFO is refused, not waited for. The caller closes `fd`.
struct OpenedFile {
    int fd = -1;
    std::int64_t size = 0;
};
OpenedFile openRegularFile(const std::filesystem::path& path);

// The whole content of a regular file of at most `largestValidSize` bytes. Opening never
// blocks (a FIFO is refused, not waited for), and the size is checked before anything is read,
// so a huge or endless file costs neither memory nor time.
FileRead readFileOfKind(const std::filesystem::path& path, std::size_t largestValidSize);

// No file of ours is larger than this.
inline constexpr std::size_t kLargestFileOfOurs = std::size_t{256} << 20;

// The whole content of a regular file of at most kLargestFileOfOurs bytes, or nothing.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path);

enum class ReplaceResult {
    Replaced,
    CannotCreateTemporary,  // the target is untouched
    WriteFailed,            // writing, flushing or renaming failed; the target is untouched
};

// Writes bytes to `temporary` (a stale one is removed first, a folder of that name never),
// flushes it to disk and renames it over `target`, so that a crash at any moment leaves either
// the old or the new file whole. A temporary that could not be completed is removed. A target
// that is a folder or another non-regular file is never replaced (WriteFailed, before anything
// is written). For the files the application keeps under fixed names in its start directory.
ReplaceResult replaceFileAtomically(const std::filesystem::path& target,
                                    const std::filesystem::path& temporary,
                                    std::span<const std::uint8_t> bytes);

// The same for a file of the operator's choice, through a temporary of a new unique name in the
// target's folder, so that no file of the operator's is ever overwritten or removed on the way.
// A link is followed: the file it names is replaced. A target that is a folder or another
// non-regular file counts as one that cannot be created (CannotCreateTemporary).
ReplaceResult replaceFileAtomically(const std::filesystem::path& target,
                                    std::span<const std::uint8_t> bytes);

// Writes a file directly, without a temporary; false when it cannot be created or written.
// Only for files that nothing depends on (test fixtures, logs).
bool writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
