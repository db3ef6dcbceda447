#include "generators/AmplitudeModulation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/ByteStream.h"
#include "core/Rounding.h"
#include "waves/WaveformStatistics.h"

std::vector<std::uint8_t> encodeModulationParams(const ModulationParams& p) {
    ByteWriter out;
    out.i32(p.carrierPeriods);
    out.i32(0);
    out.f64(p.depthScale());
    out.i32(p.minimumAmplitude);
    out.i32(0);
    return out.take();
}

ModulationParams decodeModulationParams(std::span<const std::uint8_t> params) {
    if (params.size() < kModulationParamsSize) return {};
    ByteReader in(params);
    ModulationParams p;
    p.carrierPeriods = in.i32();
    in.skip(12);  // reserved and the depth scale, which follows from A
    p.minimumAmplitude = in.i32();
    return p;
}

std::int32_t limitMinimumAmplitude(std::int32_t percent) {
    return std::clamp(percent, 0, kMaxMinimumAmplitude);
}

void modulate(const WaveformRecord& source, const ModulationParams& params,
              WaveformRecord& target) {
    const double depth = params.minimumAmplitude / 100.0;
    std::vector<std::uint8_t> points(kWavePointCount);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double s = i < source.points.size() ? source.points[i] : 128;
        const double carrier = std::sin(params.carrierPeriods * 2 * std::numbers::pi *
                                        static_cast<double>(i) / kWavePointCount);
        const double v = carrier * ((1 - depth) * s / 254 + depth) * 128 + 127;
        points[i] = static_cast<std::uint8_t>(roundHalfEven(std::clamp(v, 1.0, 255.0)));
    }
    target.points = std::move(points);
}

void finishModulation(const WaveformRecord& source, const ModulationParams& params,
                      WaveformRecord& target) {
    modulate(source, params, target);
    target.generatorKind = kGeneratorModulation;
    target.optionsKind = kOptionsNone;
    target.params = encodeModulationParams(params);
    computeStatistics(target);
}
