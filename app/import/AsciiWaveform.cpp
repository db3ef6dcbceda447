#include "import/AsciiWaveform.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint8_t toSample(double value) {
    if (std::isnan(value)) return 128;
    return static_cast<std::uint8_t>(std::nearbyint(std::clamp(value, 0.0, 255.0)));
}

// the extremes in volts
struct Volts {
    double maximum;
    double minimum;
};

Volts inVolts(const AsciiSamples& samples, bool valuesInMillivolts) {
    const double divisor = valuesInMillivolts ? 1000.0 : 1.0;
    return {samples.maximum / divisor, samples.minimum / divisor};
}

// Values spread over 1-255 by their distance from the minimum: for a range beyond the largest
// double both are halved first (exact for such values); otherwise the subtraction loses
// nothing that matters, where value * scale + offset would overflow or cancel.
std::vector<std::uint8_t> stretchedSamples(std::span<const double> values, double minimum,
                                           double maximum) {
    const double range = maximum - minimum;
    const bool halve = !std::isfinite(range);
    const double span = halve ? maximum / 2 - minimum / 2 : range;
    std::vector<std::uint8_t> points;
    points.reserve(values.size());
    for (double value : values) {
        const double above = halve ? value / 2 - minimum / 2 : value - minimum;
        points.push_back(toSample(above / span * 254 + 1));
    }
    return points;
}

}  // namespace

AsciiSamples samplesFromValues(std::span<const double> values, bool normalize) {
    AsciiSamples result;
    if (values.empty()) return result;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    result.minimum = *low;
    result.maximum = *high;
    double scale = 1;
    double offset = 0;
    if (normalize) {
        if (result.maximum == result.minimum) {
            scale = 0;
            offset = 128;
        } else {
            const double range = result.maximum - result.minimum;
            scale = 254 / range;
            offset = 1 - result.minimum * scale;
            // value * scale + offset is exact enough while its terms stay far below 2^53; an
            // infinite scale or term, or values far from 0 for their range, are stretched
            // otherwise.
            constexpr double kLargestExactTerm = 1099511627776.0;  // 2^40
            if (!(std::isfinite(range) && std::fabs(result.maximum * scale) <= kLargestExactTerm &&
                  std::fabs(result.minimum * scale) <= kLargestExactTerm)) {
                result.points = stretchedSamples(values, result.minimum, result.maximum);
                return result;
            }
        }
    }
    result.points.reserve(values.size());
    for (double value : values)
        result.points.push_back(toSample(value * scale + offset));
    return result;
}

AsciiAnalysis analyseAsciiFile(const std::filesystem::path& fileName, UserMessages& messages,
                               ProgressReporter& progress) {
    const AsciiAnalysis analysis = Analyse(fileName, messages, progress);
    if (analysis.code == AnalyseCode::CannotOpen)
        messages.error("Nie je mozne otvorit subor.");
    else if (analysis.code == AnalyseCode::NoNumbers)
        messages.warning(
            "Nie je mozne zistit parametre ASCII suboru.\r\nNastavte ich, prosim, rucne.");
    return analysis;
}

void reloadAscii(const std::filesystem::path& fileName, const AsciiReloadSettings& settings,
                 AsciiWork& work, UserMessages& messages, ProgressReporter& progress) {
    if (settings.realNumbers && settings.separator.empty()) {
        messages.error("Vyplnte, prosim, desatinnu ciarku (decimal separator)");
        return;
    }
    AsciiOptions options;
    options.realNumbers = settings.realNumbers;
    options.separator = settings.separator.empty() ? ',' : settings.separator.front();
    options.readMode = settings.readMode;
    std::vector<double> values;
    const std::int64_t count =
        Load(fileName, options, values, messages, progress, kMaxRecordPointCount);
    if (count == kLoadCannotOpen || count == kLoadBadNumber) {
        messages.information("Nie je mozne otvorit subor.");
    } else if (count == 0) {
        work.samples = AsciiSamples();
        messages.error("Nie je mozne citat ASCII subor.");
    } else if (count > kMaxRecordPointCount) {
        messages.error("Subor obsahuje viac hodnot, ako sa zmesti do pamate generatora (262144).");
    } else if (count > 0) {
        work.samples = samplesFromValues(values, settings.normalize);
    }
    work.okEnabled = !work.samples.points.empty();
}

double asciiAmplitudeMillivolts(const AsciiSamples& samples, bool valuesInMillivolts) {
    const Volts volts = inVolts(samples, valuesInMillivolts);
    return (volts.maximum - volts.minimum) * 1000.0;
}

std::int32_t asciiShiftCode(const AsciiSamples& samples, bool valuesInMillivolts, bool attenuated) {
    const Volts volts = inVolts(samples, valuesInMillivolts);
    double amplitude = (volts.maximum - volts.minimum) * 1000.0;
    double minimum = volts.minimum;
    if (attenuated) {
        amplitude *= 10;
        minimum *= 10;
    }
    const double shift = (amplitude / 2000.0 + minimum) * 2048.0 / 4.0 + 2048.0;
    if (std::isnan(shift)) return 2048;
    return static_cast<std::int32_t>(std::nearbyint(std::clamp(shift, 0.0, 4096.0)));
}
