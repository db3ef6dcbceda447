// ASCII import: the analysis that guesses the options, the load with the options of the first
// input byte and the conversion of the values into samples ("Reload").
#include <algorithm>
#include <cmath>

#include "FuzzCheck.h"
#include "InputFile.h"
#include "core/ProgressReporter.h"
#include "core/UserMessages.h"
#include "import/ASCIIOperations.h"
#include "import/AsciiWaveform.h"
#include "waves/WaveformRecord.h"

namespace {

class Answering final : public UserMessages {
public:
    explicit Answering(bool yes) : yes_(yes) {}
    MessageResult messageBox(const std::string&, MessageKind, MessageButtons buttons) override {
        if (buttons == MessageButtons::Ok) return MessageResult::Ok;
        return yes_ ? MessageResult::Yes : MessageResult::No;
    }

private:
    bool yes_;
};

// Options byte: bit 0 real numbers, bits 1-2 read mode, bit 3 Normalize, bit 4 the answer to
// the non-ASCII question; with real numbers the second byte is the separator.
struct Options {
    AsciiOptions ascii;
    bool normalize = true;
    bool answerYes = true;
};

Options optionsFrom(const std::uint8_t*& data, std::size_t& size) {
    Options options;
    if (size < 2) return options;
    options.ascii.realNumbers = (data[0] & 1) != 0;
    options.ascii.readMode = static_cast<AsciiReadMode>((data[0] >> 1 & 3) % 3);
    options.normalize = (data[0] & 8) != 0;
    options.answerYes = (data[0] & 16) != 0;
    options.ascii.separator = static_cast<char>(data[1]);
    data += 2;
    size -= 2;
    return options;
}

void checkSamples(std::span<const double> values, bool normalize) {
    const AsciiSamples samples = samplesFromValues(values, normalize);
    FUZZ_CHECK(samples.points.size() == values.size());
    if (!normalize || values.empty()) return;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::uint8_t point = samples.points[i];
        if (*low == *high)
            FUZZ_CHECK(point == 128);
        else if (values[i] == *high)
            FUZZ_CHECK(point == 255);
        else if (values[i] == *low)
            FUZZ_CHECK(point == 1);
        else
            FUZZ_CHECK(point >= 1 && point <= 255);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InputFile file;
    const Options options = optionsFrom(data, size);
    const std::filesystem::path& path = file.holding(data, size);
    Answering messages(options.answerYes);
    SilentProgress progress;

    const AsciiAnalysis analysis = Analyse(path, messages, progress);
    FUZZ_CHECK(analysis.code != AnalyseCode::CannotOpen);
    FUZZ_CHECK(!analysis.realNumbers || analysis.separator == '.' || analysis.separator == ',');

    std::vector<double> values;
    const std::int64_t count =
        Load(path, options.ascii, values, messages, progress, kMaxRecordPointCount);
    if (count < 0) {
        FUZZ_CHECK(count == kLoadBadNumber && values.empty());
        return 0;
    }
    FUZZ_CHECK(static_cast<std::size_t>(count) == values.size());
    for (double value : values)
        FUZZ_CHECK(std::isfinite(value));
    checkSamples(values, options.normalize);
    return 0;
}
