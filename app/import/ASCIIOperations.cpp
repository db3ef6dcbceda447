#include "import/ASCIIOperations.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>
#include <optional>
#include <string>

#include "core/FileStore.h"
#include "import/ImportNumbers.h"

namespace {

bool isNumberCharacter(std::uint8_t c) {
    return (c >= '0' && c <= '9') || c == 'E' || c == 'e' || c == '+' || c == '-';
}

bool isTextCharacter(std::uint8_t c) {
    return c == '\t' || c == '\n' || c == '\r' || (c >= 32 && c <= 127);
}

bool isBlank(std::uint8_t c) {
    return c == ' ' || c == '\t';
}

// Progress is reported once per chunk, which keeps the window alive without costing time.
constexpr std::size_t kChunkSize = 65536;

// A regular text file read in chunks, pass after pass. Anything else (a folder, a device, a
// FIFO) does not open, and opening never waits.
class ChunkedFile {
public:
    explicit ChunkedFile(const std::filesystem::path& fileName) {
        const OpenedFile opened = openRegularFile(fileName);
        fd_ = opened.fd;
        // Progress runs to twice the size; no file comes near this.
        size_ = std::min<std::int64_t>(opened.size, std::numeric_limits<std::int64_t>::max() / 4);
    }
    ChunkedFile(const ChunkedFile&) = delete;
    ChunkedFile& operator=(const ChunkedFile&) = delete;
    ~ChunkedFile() {
        if (fd_ >= 0) ::close(fd_);
    }

    bool isOpen() const { return fd_ >= 0; }
    std::int64_t size() const { return size_; }

    enum class PassResult { Done, ReadFailed, Stopped };

    // Feeds every byte from the start to `byte`, which returns false to stop; after each full
    // chunk `chunkDone` gets the bytes read so far and returns false to stop. A pass reads the
    // size the file had when it was opened, so a file that keeps growing still ends.
    template <typename ByteHandler, typename ChunkHandler>
    PassResult pass(ByteHandler&& byte, ChunkHandler&& chunkDone) {
        if (::lseek(fd_, 0, SEEK_SET) != 0) return PassResult::ReadFailed;
        std::int64_t done = 0;
        while (done < size_) {
            const auto wanted =
                static_cast<std::size_t>(std::min<std::int64_t>(kChunkSize, size_ - done));
            const ssize_t count = ::read(fd_, buffer_, wanted);
            if (count < 0) {
                if (errno == EINTR) continue;
                return PassResult::ReadFailed;
            }
            if (count == 0) break;
            for (ssize_t i = 0; i < count; ++i) {
                if (!byte(static_cast<std::uint8_t>(buffer_[i]))) return PassResult::Stopped;
            }
            done += count;
            if (static_cast<std::size_t>(count) == kChunkSize && !chunkDone(done))
                return PassResult::Stopped;
        }
        return PassResult::Done;
    }

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
    char buffer_[kChunkSize];
};

// Decides which bytes of a text count: a line that starts (after blanks) with a character that
// cannot begin a number is skipped to its end.
class LineFilter {
public:
    // true when the byte belongs to a line that is read
    bool accept(std::uint8_t c) {
        if (skipping_) {
            if (c == '\n') {
                skipping_ = false;
                atLineStart_ = true;
            }
            return false;
        }
        if (atLineStart_) {
            if (isBlank(c)) return true;
            if (!isNumberCharacter(c)) {
                skipping_ = c != '\n';
                return false;
            }
            atLineStart_ = false;
            return true;
        }
        if (c == '\n') atLineStart_ = true;
        return true;
    }

private:
    bool atLineStart_ = true;
    bool skipping_ = false;
};

// Watches one candidate decimal separator: how many numbers used it as a decimal separator,
// and whether it appeared where a decimal separator cannot be.
class SeparatorWatch {
public:
    explicit SeparatorWatch(std::uint8_t separator) : separator_(separator) {}

    void feed(std::uint8_t c) {
        if (disqualified_) return;
        const bool number = isNumberCharacter(c);
        const bool separator = c == separator_;
        switch (state_) {
            case State::Outside:
                if (separator)
                    disqualified_ = true;
                else if (number)
                    state_ = State::Digits;
                break;
            case State::Digits:
                if (separator)
                    state_ = State::AfterSeparator;
                else if (!number)
                    state_ = State::Outside;
                break;
            case State::AfterSeparator:
                if (number)
                    state_ = State::Fraction;
                else
                    disqualified_ = true;
                break;
            case State::Fraction:
                if (separator) {
                    disqualified_ = true;
                } else if (!number) {
                    ++decimals_;
                    state_ = State::Outside;
                }
                break;
        }
    }

    bool qualifies() const { return !disqualified_ && decimals_ > 0; }

private:
    enum class State { Outside, Digits, AfterSeparator, Fraction };
    std::uint8_t separator_;
    State state_ = State::Outside;
    std::int64_t decimals_ = 0;
    bool disqualified_ = false;
};

// Numbers longer than this cannot be meant as one value; the message shows their start.
constexpr std::size_t kMaxTokenLength = 1024;
constexpr std::size_t kShownTokenLength = 64;

// A token: the mantissa in decimal, optionally followed by "e" or "E" and a whole-number
// exponent.
std::optional<double> tokenValue(const std::string& token) {
    if (token.size() > kMaxTokenLength) return std::nullopt;
    const std::size_t e = token.find_first_of("eE");
    if (e == std::string::npos) return parseDecimalNumber(token);
    const std::string_view text(token);
    std::optional<double> mantissa = parseDecimalNumber(text.substr(0, e));
    std::optional<std::int32_t> exponent = parseWholeNumber(text.substr(e + 1));
    if (!mantissa || !exponent) return std::nullopt;
    if (*mantissa == 0) return *mantissa;
    // mantissa x 10^exponent, rounded once, from its decimal text
    const std::string exact = std::string(text.substr(0, e)) + "e" + std::to_string(*exponent);
    const char* begin = exact.c_str();
    if (*begin == '+') ++begin;
    double value = 0;
    auto [end, error] =
        std::from_chars(begin, exact.c_str() + exact.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range && *exponent < 0) return *mantissa < 0 ? -0.0 : 0.0;
    if (error != std::errc() || end != exact.c_str() + exact.size()) return std::nullopt;
    return value;
}

// Splits the read lines into number tokens and converts them.
class Tokeniser {
public:
    explicit Tokeniser(const AsciiOptions& options) : options_(options) {}

    // Feeds one byte of a read line; when it ends a token, `value` gets the token's value
    // (or nothing when it is not a number) and the result is true.
    bool feed(std::uint8_t c, std::optional<double>& value) {
        if (options_.realNumbers && c == static_cast<std::uint8_t>(options_.separator)) {
            if (token_.empty()) token_ = "0";
            append('.', c);
            return false;
        }
        if (isNumberCharacter(c)) {
            append(static_cast<char>(c), c);
            return false;
        }
        if (token_.empty()) return false;
        value = tokenValue(token_);
        if (!value)
            badToken_ = shown_.size() > kShownTokenLength
                            ? shown_.substr(0, kShownTokenLength) + "..."
                            : shown_;
        token_.clear();
        shown_.clear();
        return true;
    }

    const std::string& badToken() const { return badToken_; }

private:
    void append(char stored, std::uint8_t original) {
        // Beyond the longest number, only the start is kept for the message.
        if (token_.size() <= kMaxTokenLength) token_.push_back(stored);
        if (shown_.size() <= kShownTokenLength) shown_.push_back(static_cast<char>(original));
    }

    const AsciiOptions& options_;
    std::string token_;
    std::string shown_;  // the token as written in the file
    std::string badToken_;
};

bool passesFilter(std::int64_t entry, AsciiReadMode mode) {
    switch (mode) {
        case AsciiReadMode::Odd:
            return entry % 2 == 1;
        case AsciiReadMode::Even:
            return entry % 2 == 0;
        default:
            return true;
    }
}

}  // namespace

AsciiAnalysis Analyse(const std::filesystem::path& fileName, UserMessages& messages,
                      ProgressReporter& progress) {
    AsciiAnalysis result;
    auto file = std::make_unique<ChunkedFile>(fileName);
    if (!file->isOpen()) {
        result.code = AnalyseCode::CannotOpen;
        return result;
    }
    progress.progressStart(file->size(), true, false, "Analyzing file ...");
    LineFilter lines;
    SeparatorWatch point('.');
    SeparatorWatch comma(',');
    std::int64_t numberRuns = 0;
    bool inNumber = false;
    bool asked = false;
    bool abandoned = false;
    auto feed = [&](std::uint8_t c) {
        const bool number = isNumberCharacter(c);
        if (inNumber && !number) ++numberRuns;
        inNumber = number;
        point.feed(c);
        comma.feed(c);
    };
    ChunkedFile::PassResult passed = file->pass(
        [&](std::uint8_t c) {
            if (!lines.accept(c)) return true;
            if (!asked && !isTextCharacter(c)) {
                asked = true;
                if (!messages.ask(
                        "Subor obsahuje znaky, ktore nie su ASCII. Chcete pokracovat ?")) {
                    abandoned = true;
                    return false;
                }
            }
            feed(c);
            return true;
        },
        [&](std::int64_t done) { return progress.progressNext(done); });
    progress.progressFinish();
    if (passed == ChunkedFile::PassResult::ReadFailed) {
        result.code = AnalyseCode::CannotOpen;
        return result;
    }
    if (passed == ChunkedFile::PassResult::Stopped || abandoned) {
        result.code = AnalyseCode::Abandoned;
        return result;
    }
    // A number that ends the file without a line end counts like the others.
    feed(' ');
    if (numberRuns == 0) {
        result.code = AnalyseCode::NoNumbers;
        return result;
    }
    result.code = AnalyseCode::Guessed;
    if (comma.qualifies()) {
        result.realNumbers = true;
        result.separator = ',';
    }
    if (point.qualifies()) {
        result.realNumbers = true;
        result.separator = '.';
    }
    return result;
}

std::int64_t Load(const std::filesystem::path& fileName, const AsciiOptions& options,
                  std::vector<double>& values, UserMessages& messages, ProgressReporter& progress,
                  std::int64_t storeAtMost) {
    values.clear();
    auto file = std::make_unique<ChunkedFile>(fileName);
    if (!file->isOpen()) return kLoadCannotOpen;
    const std::int64_t size = file->size();
    progress.progressStart(2 * size, true, false, "Loading file ...");

    // The first pass counts the values that pass the filter, the second stores them.
    std::int64_t counted = 0;
    std::vector<double> stored;
    for (int passNumber = 0; passNumber < 2; ++passNumber) {
        const bool storing = passNumber == 1;
        if (storing && counted > storeAtMost) break;
        if (storing) stored.reserve(static_cast<std::size_t>(counted));
        LineFilter lines;
        Tokeniser tokens(options);
        std::int64_t entry = 0;
        bool bad = false;
        auto feed = [&](std::uint8_t c) {
            std::optional<double> value;
            if (!tokens.feed(c, value)) return true;
            if (!value) {
                bad = true;
                return false;
            }
            ++entry;
            if (!passesFilter(entry, options.readMode)) return true;
            if (!storing)
                ++counted;
            else if (stored.size() < static_cast<std::size_t>(counted))
                stored.push_back(*value);
            return true;
        };
        const std::int64_t base = storing ? size : 0;
        ChunkedFile::PassResult passed =
            file->pass([&](std::uint8_t c) { return !lines.accept(c) || feed(c); },
                       [&](std::int64_t done) { return progress.progressNext(base + done); });
        if (passed == ChunkedFile::PassResult::Done) feed(' ');
        if (bad) {
            progress.progressFinish();
            messages.error("Zle cislo v ASCII subore: " + tokens.badToken());
            return kLoadBadNumber;
        }
        if (passed != ChunkedFile::PassResult::Done) {
            progress.progressFinish();
            return passed == ChunkedFile::PassResult::ReadFailed ? kLoadCannotOpen : kLoadBrokenOff;
        }
    }
    progress.progressNext(2 * size);
    progress.progressFinish();
    if (counted > storeAtMost) return counted;
    values = std::move(stored);
    return static_cast<std::int64_t>(values.size());
}
