#include "generators/HarmonicParameterBlock.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "core/ByteStream.h"
#include "core/Rounding.h"
#include "core/UnitFormat.h"
#include "core/UserError.h"
#include "waves/WaveformStatistics.h"

namespace {

constexpr std::size_t kRecordSize = 64;
constexpr std::size_t kHeaderSize = 16;
static_assert(kHeaderSize + kMaxHarmonics * kRecordSize == kHarmonicParamsSize);
static_assert(kHarmonicParamsSize <= kMaxParamCount);

void writeHarmonic(ByteWriter& out, const HarmonicRecord& h) {
    out.i32(h.number);
    out.i32(0);
    out.f64(h.amplitude);
    out.u8(h.percent);
    out.raw(std::array<std::uint8_t, 7>{});
    out.f64(h.level);
    out.f64(h.phase);
    out.i32(h.phaseDegrees);
    out.i32(0);
    out.f64(h.complement);
    out.u8(h.marked);
    out.raw(std::array<std::uint8_t, 7>{});
}

HarmonicRecord readHarmonic(ByteReader& in) {
    HarmonicRecord h;
    h.number = in.i32();
    in.skip(4);
    h.amplitude = in.f64();
    h.percent = in.u8() != 0;
    in.skip(7);
    h.level = in.f64();
    h.phase = in.f64();
    h.phaseDegrees = in.i32();
    in.skip(4);
    h.complement = in.f64();
    h.marked = in.u8() != 0;
    in.skip(7);
    return h;
}

}  // namespace

std::vector<std::uint8_t> encodeHarmonicParams(const HarmonicParameterBlock& block) {
    ByteWriter out;
    out.i32(block.count);
    out.i32(0);
    out.f64(block.halfScale);
    for (const HarmonicRecord& harmonic : block.harmonics)
        writeHarmonic(out, harmonic);
    return out.take();
}

HarmonicParameterBlock decodeHarmonicParams(std::span<const std::uint8_t> params) {
    std::vector<std::uint8_t> bytes(kHarmonicParamsSize, 0);
    std::copy_n(params.begin(), std::min(params.size(), kHarmonicParamsSize), bytes.begin());
    ByteReader in(bytes);
    HarmonicParameterBlock block;
    block.count = std::clamp(in.i32(), 0, kMaxHarmonics);
    in.skip(4);
    block.halfScale = in.f64();
    for (HarmonicRecord& harmonic : block.harmonics)
        harmonic = readHarmonic(in);
    return block;
}

double harmonicAmplitude(double level, bool percent) {
    return percent ? 254 * level / 200 : std::pow(10.0, level / 20) * 254 / 2;
}

void setHarmonicLevel(HarmonicRecord& harmonic, double level, bool percent,
                      std::int32_t phaseDegrees) {
    if (!percent && level > kMaxHarmonicDecibels)
        throw UserError(plainNumberText(level) + "dB nie je platna hodnota (prilis vysoka)");
    harmonic.level = level;
    harmonic.percent = percent;
    harmonic.phaseDegrees = phaseDegrees;
    harmonic.phase = phaseDegrees * 2 * std::numbers::pi / 360;
    harmonic.amplitude = harmonicAmplitude(level, percent);
    harmonic.complement = 128 - harmonic.amplitude;
}

HarmonicRefusal checkHarmonicToAdd(const HarmonicParameterBlock& block, std::int32_t number) {
    if (block.count >= kMaxHarmonics) return HarmonicRefusal::ListFull;
    if (number == 1) return HarmonicRefusal::AlreadyListed;
    for (int i = 0; i < block.count; ++i)
        if (block.harmonics[static_cast<std::size_t>(i)].number == number)
            return HarmonicRefusal::AlreadyListed;
    return HarmonicRefusal::None;
}

std::string harmonicRefusalText(HarmonicRefusal refusal, std::int32_t number) {
    switch (refusal) {
        case HarmonicRefusal::ListFull:
            return "Maximalny pocet harmonickych bol prekroceny";
        case HarmonicRefusal::AlreadyListed:
            return "Zoznam uz obsahuje " + std::to_string(number) + ". harmonicku";
        case HarmonicRefusal::None:
            break;
    }
    return {};
}

double roundedHarmonicLevel(double value) {
    return static_cast<double>(roundHalfEven(static_cast<long double>(value) * 10000) / 10000);
}

void recomputeHarmonics(HarmonicParameterBlock& block, WaveformRecord& record) {
    const std::size_t n = record.points.size();
    if (n == 0) return;
    std::vector<double> y(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
        double value = 127 * std::sin(t);
        for (int k = 0; k < block.count; ++k) {
            const HarmonicRecord& h = block.harmonics[static_cast<std::size_t>(k)];
            value += h.amplitude * std::sin(h.number * t + h.phase);
        }
        y[i] = value;
    }
    const auto [lowest, highest] = std::minmax_element(y.begin(), y.end());
    const double minimum = *lowest;
    const double range = *highest - minimum;
    // The fundamental alone spans a range, so only absurd amplitudes (infinite, cancelling
    // out everything) could leave none: then the samples stay at 0 V.
    const double scale = range > 0 && std::isfinite(range) ? 254 / range : 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double sample = scale == 0 ? 128 : (y[i] - minimum) * scale + 1;
        record.points[i] = static_cast<std::uint8_t>(roundHalfEven(std::clamp(sample, 1.0, 255.0)));
    }
    block.halfScale = scale / 2;
}

void finishHarmonicWaveform(const HarmonicParameterBlock& block, WaveformRecord& record) {
    record.generatorKind = kGeneratorHarmonic;
    record.optionsKind = kOptionsNone;
    record.params = encodeHarmonicParams(block);
    computeStatistics(record);
}

void removeHarmonics(HarmonicParameterBlock& block, std::span<const int> indices) {
    const std::set<int> removed(indices.begin(), indices.end());
    int kept = 0;
    for (int i = 0; i < block.count; ++i) {
        if (removed.contains(i)) continue;
        block.harmonics[static_cast<std::size_t>(kept++)] =
            block.harmonics[static_cast<std::size_t>(i)];
    }
    for (int i = kept; i < block.count; ++i)
        block.harmonics[static_cast<std::size_t>(i)] = {};
    block.count = kept;
}

void markHarmonics(HarmonicParameterBlock& block, std::span<const int> indices,
                   UserMessages& messages) {
    int marked = 0;
    for (int i = 0; i < block.count; ++i)
        if (block.harmonics[static_cast<std::size_t>(i)].marked) ++marked;
    for (int index : indices) {
        if (index < 0 || index >= block.count) continue;
        if (marked == kMaxMarkedHarmonics) {
            messages.error("Mozete oznacit len 6 harmonickych");
            return;
        }
        block.harmonics[static_cast<std::size_t>(index)].marked = true;
        ++marked;
    }
}

void unmarkHarmonics(HarmonicParameterBlock& block, std::span<const int> indices) {
    for (int index : indices)
        if (index >= 0 && index < block.count)
            block.harmonics[static_cast<std::size_t>(index)].marked = false;
}

std::string harmonicListLine(const HarmonicRecord& harmonic) {
    return std::string(harmonic.marked ? "*" : "") + "Freq:" + std::to_string(harmonic.number) +
           "x Level:" + plainNumberText(harmonic.level) + (harmonic.percent ? "%" : "dB") +
           " Phase:" + std::to_string(harmonic.phaseDegrees);
}
