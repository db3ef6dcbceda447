#include "panels/ChannelLevels.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/Rounding.h"
#include "core/UnitFormat.h"
#include "device/GeneratorConversions.h"

namespace {

constexpr double SampleSteps = 254.0;
// The normal path reaches 1600 mV into an open output at its lowest useful codes; below it the
// attenuator gives the finer steps.
constexpr double AttenuatorBelow = 1600.0;
constexpr double AttenuatorFactor = 10.0;
constexpr double WarningLevelVolts = 1.6;
constexpr double WarningPeakVolts = 8.0;

std::string wholeDb(double value) {
    return plainNumberText(roundHalfEven(value));
}

}  // namespace

std::int32_t clampCode(std::int32_t code) {
    return std::clamp(code, kLowestCode, kHighestCode);
}

AttenuatorChoice chooseAttenuator(double wantedMillivolts, double loadFactor) {
    if (wantedMillivolts < loadFactor * AttenuatorBelow)
        return {generator::OutputMinus20dB, wantedMillivolts * AttenuatorFactor};
    return {generator::OutputNormal, wantedMillivolts};
}

ChannelCodes codesForVoltages(double fullScaleMillivolts, double shiftMillivolts,
                              std::int32_t load) {
    const AttenuatorChoice path = chooseAttenuator(fullScaleMillivolts, LoadFactor(load));
    ChannelCodes codes;
    codes.outputState = path.outputState;
    codes.levelCode = clampCode(LevelCodeFromVolts(load, path.pathMillivolts));
    codes.shiftCode = clampCode(ShiftCodeFromVolts({load, path.outputState}, shiftMillivolts));
    return codes;
}

double fullScaleForVpp(double volts, std::int32_t peakToPeak) {
    return volts * 1000.0 * SampleSteps / peakToPeak;
}

// The reference is the waveform's own peak-to-peak level, so the wanted waveform level is
// scaled back up to the full scale; otherwise any waveform not using all 254 steps would read
// back another value than the one typed.
double fullScaleForDb(double db, double referenceMillivolts, std::int32_t peakToPeak) {
    const double waveform = std::pow(10.0, db / 20.0) * referenceMillivolts;
    if (peakToPeak <= 0) return waveform;
    return waveform * SampleSteps / peakToPeak;
}

double waveformMillivolts(double fullScaleMillivolts, std::int32_t peakToPeak) {
    return fullScaleMillivolts * peakToPeak / SampleSteps;
}

std::string relativeDbText(double fullScaleMillivolts, std::int32_t peakToPeak,
                           double referenceMillivolts) {
    const double level = waveformMillivolts(fullScaleMillivolts, peakToPeak);
    if (peakToPeak == 0 || !(referenceMillivolts > 0) || !(level > 0)) return "N/A";
    const double db = 20.0 * std::log10(level / referenceMillivolts);
    // "-0" would read oddly next to a level that equals its reference.
    const double tenths = roundHalfEven(db * 10.0) / 10.0;
    return plainNumberText(tenths == 0 ? 0.0 : tenths);
}

std::string absoluteLevelText(double rmsVolts, LevelUnit unit, std::int32_t load) {
    switch (unit) {
        case LevelUnit::dBmV:
        case LevelUnit::dBuV: {
            if (rmsVolts == 0) return "N/A";
            const double unitVolts = unit == LevelUnit::dBmV ? 0.001 : 0.000001;
            return wholeDb(20.0 * std::log10(rmsVolts / unitVolts));
        }
        case LevelUnit::dBW:
        case LevelUnit::dBmW: {
            if (load <= 0) return "N/A";
            const double watts = rmsVolts * rmsVolts / load;
            if (watts == 0) return "N/A";
            const double unitWatts = unit == LevelUnit::dBW ? 1.0 : 0.001;
            return wholeDb(10.0 * std::log10(watts / unitWatts));
        }
    }
    return "N/A";
}

ChannelReadouts channelReadouts(const ChannelReadoutInput& in) {
    const auto volts = [&](double sample) {
        return (in.millivoltsPerStep * (sample - 128.0) + in.shiftMillivolts) / 1000.0;
    };
    ChannelReadouts out;
    const int steps = in.maxSample - in.minSample;
    out.vpp = in.fullScaleMillivolts * steps / (SampleSteps * 1000.0);
    const double positivePeak = volts(in.maxSample);
    const double negativePeak = volts(in.minSample);
    out.vp = in.plusPeak ? positivePeak : negativePeak;

    // The voltage is linear in the sample value: sum over the 255 values that occur.
    std::array<std::int64_t, 256> counts{};
    for (std::uint8_t sample : in.points)
        ++counts[sample];
    const double reference = in.acRms ? volts(in.meanSample) : 0.0;
    double absoluteSum = 0;
    double squareSum = 0;
    for (std::size_t sample = 0; sample < counts.size(); ++sample) {
        if (counts[sample] == 0) continue;
        const double deviation = volts(static_cast<double>(sample)) - reference;
        absoluteSum += static_cast<double>(counts[sample]) * std::abs(deviation);
        squareSum += static_cast<double>(counts[sample]) * deviation * deviation;
    }
    if (!in.points.empty()) {
        const double n = static_cast<double>(in.points.size());
        out.vavg = absoluteSum / n;
        out.vrms = std::sqrt(squareSum / n);
    }
    out.absoluteLevel = absoluteLevelText(out.vrms, in.unit, in.load);

    // The warnings judge what the normal path has to give.
    const double pathFactor = in.attenuated ? AttenuatorFactor : 1.0;
    out.levelWarning = steps != 0 && out.vpp * pathFactor * SampleSteps / steps < WarningLevelVolts;
    out.shiftWarning = positivePeak * pathFactor > WarningPeakVolts ||
                       negativePeak * pathFactor < -WarningPeakVolts;
    return out;
}

std::string voltsText(double volts) {
    return formatVoltage(volts) + "V";
}
