#include "generators/AddNoise.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/ByteStream.h"
#include "core/Rounding.h"
#include "core/UserError.h"
#include "waves/WaveformStatistics.h"

std::vector<std::uint8_t> encodeNoiseParams(const NoiseParams& params) {
    ByteWriter out;
    out.i32(params.level);
    out.u8(params.normalize);
    out.raw(std::array<std::uint8_t, 3>{});
    return out.take();
}

NoiseParams decodeNoiseParams(std::span<const std::uint8_t> params) {
    if (params.size() < kNoiseParamsSize) return {};
    ByteReader in(params);
    NoiseParams p;
    p.level = in.i32();
    p.normalize = in.u8() != 0;
    return p;
}

void addNoise(const WaveformRecord& source, const NoiseParams& params, std::mt19937& random,
              WaveformRecord& target) {
    // A negative level has no noise range: refused like any other invalid level.
    if (params.level < 0) throw UserError(kInvalidNoiseLevel);
    const std::int64_t level = params.level;
    std::uniform_int_distribution<std::int64_t> draw(0, level);
    std::vector<std::int64_t> noisy(kWavePointCount);
    for (std::size_t i = 0; i < noisy.size(); ++i) {
        const std::int64_t s = i < source.points.size() ? source.points[i] : 128;
        noisy[i] = s + draw(random) - level / 2;
    }
    double offset = -1;
    double scale = 1;
    if (params.normalize) {
        const auto [lowest, highest] = std::minmax_element(noisy.begin(), noisy.end());
        const std::int64_t minimum = *lowest;
        const std::int64_t maximum = *highest == minimum ? minimum + 1 : *highest;
        offset = static_cast<double>(-minimum);
        scale = 254.0 / static_cast<double>(maximum - minimum);
    }
    std::vector<std::uint8_t> points(noisy.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double v = roundHalfEven((static_cast<double>(noisy[i]) + offset) * scale) + 1;
        points[i] = static_cast<std::uint8_t>(std::clamp(v, 1.0, 255.0));
    }
    target.points = std::move(points);
}

void finishNoise(const WaveformRecord& source, const NoiseParams& params, std::mt19937& random,
                 WaveformRecord& target) {
    addNoise(source, params, random, target);
    target.generatorKind = kGeneratorNoise;
    target.optionsKind = kOptionsNone;
    target.params = encodeNoiseParams(params);
    computeStatistics(target);
}
