#include "import/Q726DataFile.h"

#include <array>
#include <optional>
#include <string>

#include "core/FileStore.h"
#include "core/UserError.h"
#include "import/ImportNumbers.h"

namespace {

constexpr std::array<double, 21> kTimeBaseRates = {1000,  2500, 5000,  1e4,   2.5e4, 5e4,   1e5,
                                                   2.5e5, 5e5,  1e6,   2.5e6, 5e6,   1e7,   2.5e7,
                                                   5e7,   1e8,  2.5e8, 5e8,   1e9,   2.5e9, 5e9};
constexpr std::array<double, 9> kRangeMillivolts = {80,   160,  400,   800,  1600,
                                                    4000, 8000, 16000, 40000};
// The oscilloscope records at most this many samples per channel.
constexpr std::int32_t kMaxLength = 35000;

template <std::size_t N>
double fromTable(const std::array<double, N>& table, const std::string& text) {
    std::optional<std::int32_t> code = parseWholeNumber(text);
    if (!code || *code < 0 || static_cast<std::size_t>(*code) >= N) return -1;
    return table[static_cast<std::size_t>(*code)];
}

std::int32_t lengthFrom(const std::string& text) {
    std::optional<std::int32_t> length = parseWholeNumber(text);
    if (!length || *length < 0 || *length > kMaxLength) return -1;
    return *length;
}

char lowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

Q726FileResult parseQ726(std::span<const std::uint8_t> content) {
    Q726FileResult result;
    enum class Channel { None, A, B } channel = Channel::None;
    const std::size_t size = content.size();
    std::size_t position = 0;
    while (position < size) {
        // One header line: the key runs to the first "=", the value is what follows the last.
        std::string key;
        std::string value;
        bool inValue = false;
        while (position < size) {
            const char c = static_cast<char>(content[position++]);
            if (c == '\n') break;
            if (c == '\r') continue;
            if (c == '=') {
                inValue = true;
                value.clear();
            } else if (inValue) {
                value.push_back(c);
            } else {
                key.push_back(lowerCase(c));
            }
        }
        std::string_view name = trimBlanks(key);
        if (name == "range_a") {
            result.rangeA = fromTable(kRangeMillivolts, value);
        } else if (name == "range_b") {
            result.rangeB = fromTable(kRangeMillivolts, value);
        } else if (name == "[channel_a]") {
            channel = Channel::A;
        } else if (name == "[channel_b]") {
            channel = Channel::B;
        } else if (name == "timebase") {
            result.sampleRate = fromTable(kTimeBaseRates, value);
        } else if (name == "length" || name == "lenght") {
            std::int32_t& length = channel == Channel::A ? result.lengthA : result.lengthB;
            if (channel != Channel::None && length == -1) length = lengthFrom(value);
        } else if (name == "--- begin ---") {
            if (channel == Channel::None) throw InvalidFile();
            const std::int32_t length = channel == Channel::A ? result.lengthA : result.lengthB;
            // At least one byte has to follow the data.
            if (length < 0 || position + static_cast<std::size_t>(length) >= size)
                throw InvalidFile();
            std::vector<std::uint8_t>& samples =
                channel == Channel::A ? result.samplesA : result.samplesB;
            samples.assign(content.begin() + static_cast<std::ptrdiff_t>(position),
                           content.begin() + static_cast<std::ptrdiff_t>(position + length));
            position += static_cast<std::size_t>(length);
        }
    }
    if (result.rangeA == -1 || result.rangeB == -1 || result.sampleRate == -1 ||
        result.samplesA.empty() || result.samplesB.empty())
        throw InvalidFile();
    return result;
}

bool readQ726File(const std::filesystem::path& fileName, UserMessages& messages,
                  Q726FileResult& result) {
    const FileRead read = readFileOfKind(fileName, kLargestQ726File);
    if (read.status == ReadStatus::CannotOpen) return false;
    try {
        if (read.status == ReadStatus::TooLarge) throw InvalidFile();
        result = parseQ726(read.content);
        return true;
    } catch (const InvalidFile&) {
        messages.error("Neplatny subor: " + fileName.string());
        return false;
    }
}
