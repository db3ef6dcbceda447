#include "waves/PredefinedWaveforms.h"

#include <cmath>
#include <numbers>
#include <random>

#include "core/Rounding.h"
#include "generators/SquareWave.h"
#include "waves/WaveformStatistics.h"

namespace {

constexpr int kHalf = kWavePointCount / 2;
constexpr int kQuarter = kWavePointCount / 4;

std::uint8_t sample(double value) {
    return static_cast<std::uint8_t>(roundHalfEven(value));
}

WaveformRecord plainWaveform(const char* name) {
    WaveformRecord record;
    record.setName(name);
    record.points.resize(kWavePointCount);
    return record;
}

}  // namespace

void resetPredefined(WaveformStore& store) {
    resetPredefined(store, std::random_device{}());
}

void resetPredefined(WaveformStore& store, std::uint32_t noiseSeed) {
    for (int slot = 0; slot < kPredefinedSlotCount; ++slot)
        clearRecord(store.slots[slot]);

    WaveformRecord sine = plainWaveform("Sine");
    for (int i = 0; i < kWavePointCount; ++i)
        sine.points[i] = sample(std::sin(i * std::numbers::pi / kHalf) * 127 + 128);

    WaveformRecord saw = plainWaveform("Saw");
    for (int i = 0; i < kWavePointCount; ++i)
        saw.points[i] =
            i < kHalf ? sample(i * 127.0 / kHalf + 128) : sample((i - kHalf) * 127.0 / kHalf + 1);

    WaveformRecord triangle = plainWaveform("Triangle");
    for (int i = 0; i < kWavePointCount; ++i) {
        if (i < kQuarter)
            triangle.points[i] = sample(i * 127.0 / kQuarter + 128);
        else if (i < 3 * kQuarter)
            triangle.points[i] = sample(255 - (i - kQuarter) * 127.0 / kQuarter);
        else
            triangle.points[i] = sample((i - 3 * kQuarter) * 127.0 / kQuarter + 1);
    }

    WaveformRecord square = plainWaveform("Square");
    applySquareWave(square, 50);
    square.optionsKind = kOptionsSquare;

    WaveformRecord noise = plainWaveform("Noise");
    std::mt19937 random(noiseSeed);
    std::uniform_int_distribution<int> level(1, 255);
    for (std::uint8_t& point : noise.points)
        point = static_cast<std::uint8_t>(level(random));

    WaveformRecord* built[] = {&sine, &saw, &triangle, &square, &noise};
    for (int slot = 0; slot < kPredefinedSlotCount; ++slot) {
        computeStatistics(*built[slot]);
        store.slots[slot] = std::move(*built[slot]);
    }
}

WaveformRecord untitledWaveform() {
    WaveformRecord record;
    record.setName("Untitled");
    record.points.assign(kWavePointCount, 128);
    computeStatistics(record);
    return record;
}
