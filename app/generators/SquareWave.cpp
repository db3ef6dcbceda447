#include "generators/SquareWave.h"

#include <algorithm>

#include "core/ByteStream.h"
#include "core/Rounding.h"
#include "waves/WaveformStatistics.h"

std::vector<std::uint8_t> encodeSquareShares(const SquareShares& shares) {
    ByteWriter out;
    out.i32(shares.low);
    out.i32(shares.high);
    return out.take();
}

SquareShares decodeSquareShares(std::span<const std::uint8_t> params) {
    if (params.size() < kSquareParamsSize) return {};
    ByteReader in(params);
    SquareShares shares;
    shares.low = in.i32();
    shares.high = in.i32();
    return shares;
}

SquareShares sharesFromTyped(std::int32_t typedShare) {
    const std::int32_t share = std::clamp(typedShare, 0, 100);
    return {share, 100 - share};
}

void applySquareWave(WaveformRecord& record, std::int32_t lowShare) {
    const SquareShares shares = sharesFromTyped(lowShare);
    const auto lowPoints = static_cast<std::size_t>(
        roundHalfEven(static_cast<long double>(shares.low) * kWavePointCount / 100));
    record.points.assign(kWavePointCount, 255);
    std::fill_n(record.points.begin(), lowPoints, std::uint8_t{1});
    record.params = encodeSquareShares(shares);
    computeStatistics(record);
}
