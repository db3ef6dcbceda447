#include "import/R210DataFile.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/FileStore.h"
#include "core/UserError.h"
#include "import/ImportNumbers.h"
#include "import/TextLineReader.h"

namespace {

// Full-scale range of the recorded screen; files with a device type count the codes from 0,
// older files without one from 1.
constexpr std::array<std::int32_t, 9> kRangeMillivolts = {80,   160,  400,   800,  1600,
                                                          4000, 8000, 16000, 40000};

constexpr std::array<double, 22> kRates211 = {5e9,   2.5e9, 1e9,   5e8,  2.5e8, 1e8,   5e7, 2.5e7,
                                              1e7,   5e6,   2.5e6, 1e6,  5e5,   2.5e5, 1e5, 5e4,
                                              2.5e4, 1e4,   5000,  2500, 1000,  500};
constexpr std::array<double, 23> kRates213 = {1e10,  5e9,   2.5e9, 1e9,   5e8,  2.5e8, 1e8,   5e7,
                                              2.5e7, 1e7,   5e6,   2.5e6, 1e6,  5e5,   2.5e5, 1e5,
                                              5e4,   2.5e4, 1e4,   5000,  2500, 1000,  500};
constexpr std::array<double, 24> kRates215 = {2e10, 8e9, 4e9, 2e9,  8e8,  4e8,  2e8, 8e7,
                                              4e7,  2e7, 8e6, 4e6,  2e6,  8e5,  4e5, 2e5,
                                              8e4,  4e4, 2e4, 8000, 4000, 2000, 800, 400};

// Sample counts are signed 32-bit everywhere after reading.
constexpr std::size_t kMaxSamples = 0x7FFFFFFF;

template <std::size_t N>
double rateFrom(const std::array<double, N>& table, std::int32_t code) {
    return static_cast<std::size_t>(code) < N ? table[static_cast<std::size_t>(code)] : 0.0;
}

std::int32_t wholeNumber(std::string_view text) {
    std::optional<std::int32_t> number = parseWholeNumber(text);
    if (!number) throw InvalidFile();
    return *number;
}

// Grounds were written with either decimal separator.
double groundNumber(std::string_view text) {
    std::string normalised(text);
    std::replace(normalised.begin(), normalised.end(), ',', '.');
    std::optional<double> number = parseDecimalNumber(normalised);
    if (!number) throw InvalidFile();
    return *number;
}

}  // namespace

void TR210DataFile::parse(std::span<const std::uint8_t> content) {
    TR210DataFile file;
    TextLineReader lines(content);
    std::string_view line;
    while (lines.next(line) && line != "SettingsEnd") {
        const std::size_t colon = line.find(':');
        const std::string_view key = trimBlanks(line.substr(0, colon));
        const std::string_view value = colon == std::string_view::npos
                                           ? std::string_view()
                                           : trimBlanks(line.substr(colon + 1));
        if (key == "TimeBaseValue")
            file.timeBase_ = wholeNumber(value);
        else if (key == "DensityChannelA")
            file.densityA_ = wholeNumber(value);
        else if (key == "DensityChannelB")
            file.densityB_ = wholeNumber(value);
        else if (key == "DeviceType")
            file.deviceType_ = wholeNumber(value);
        else if (key == "GroundChannelA")
            file.groundA_ = groundNumber(value);
        else if (key == "GroundChannelB")
            file.groundB_ = groundNumber(value);
    }

    std::vector<std::uint8_t>* channel = nullptr;
    while (lines.next(line)) {
        if (line == "Channel A samples:") {
            channel = &file.samplesA_;
        } else if (line == "Channel B samples:") {
            channel = &file.samplesB_;
        } else if (channel != nullptr && !trimBlanks(line).empty()) {
            // A blank line (typically after the last sample) carries no sample.
            if (channel->size() >= kMaxSamples) throw InvalidFile();
            channel->push_back(static_cast<std::uint8_t>(wholeNumber(line) & 0xFF));
        }
    }

    const bool hasA = !file.samplesA_.empty();
    const bool hasB = !file.samplesB_.empty();
    if (!hasA && !hasB) throw InvalidFile();
    if (hasA && hasB && file.samplesA_.size() != file.samplesB_.size()) throw InvalidFile();
    *this = std::move(file);
}

bool TR210DataFile::load(const std::filesystem::path& fileName, UserMessages& messages) {
    try {
        const FileRead read = readFileOfKind(fileName, kLargestR210File);
        if (read.status != ReadStatus::Read) throw InvalidFile();
        parse(read.content);
        return true;
    } catch (const InvalidFile&) {
        messages.error("Neplatny subor: " + fileName.string());
        return false;
    }
}

int TR210DataFile::channelCount() const {
    return (samplesA_.empty() ? 0 : 1) + (samplesB_.empty() ? 0 : 1);
}

int TR210DataFile::firstChannel() const {
    return samplesA_.empty() ? 1 : 0;
}

int TR210DataFile::length() const {
    return static_cast<int>(std::max(samplesA_.size(), samplesB_.size()));
}

double TR210DataFile::sampleRate() const {
    if (timeBase_ < 0 || timeBase_ > 30) return -1;
    switch (deviceType_) {
        case 211:
        case 212:
            return rateFrom(kRates211, timeBase_);
        case 213:
        case 214:
            return rateFrom(kRates213, timeBase_);
        case 215:
        case 216:
            return rateFrom(kRates215, timeBase_);
        default:
            return -1;
    }
}

std::int32_t TR210DataFile::range(int channel) const {
    const std::int32_t first = deviceType_ == -1 ? 1 : 0;
    const std::int64_t index = static_cast<std::int64_t>(density(channel)) - first;
    if (index < 0 || index >= static_cast<std::int64_t>(kRangeMillivolts.size())) return -1;
    return kRangeMillivolts[static_cast<std::size_t>(index)];
}
