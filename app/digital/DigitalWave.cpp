#include "digital/DigitalWave.h"

#include <algorithm>
#include <stdexcept>

#include "core/UserError.h"

std::int32_t capacityForLength(std::int32_t length) {
    if (length % kWaveAllocationUnit == 0) return length;
    return (length / kWaveAllocationUnit + 1) * kWaveAllocationUnit;
}

void setWaveLength(TDigitalWave& wave, std::int32_t newLength) {
    if (newLength > kMaxWaveLength) throw UserError("Waveform too long");
    if (newLength < 0) throw std::invalid_argument("A wave cannot have a negative length");
    const std::int32_t newCapacity = capacityForLength(newLength);
    if (newCapacity != wave.capacity_) {
        // Reallocate only when the allocation unit changes, so that appending step by step
        // copies the words once per 65536 steps.
        std::vector<std::uint16_t> data;
        data.reserve(static_cast<std::size_t>(newCapacity));
        const std::size_t kept = std::min(wave.data_.size(), static_cast<std::size_t>(newLength));
        data.assign(wave.data_.begin(), wave.data_.begin() + static_cast<std::ptrdiff_t>(kept));
        data.resize(static_cast<std::size_t>(newLength));
        wave.data_.swap(data);
        wave.capacity_ = newCapacity;
    } else {
        wave.data_.resize(static_cast<std::size_t>(newLength));
    }
}

void clearWave(TDigitalWave& wave) {
    std::vector<std::uint16_t>().swap(wave.data_);
    wave.capacity_ = 0;
    wave.signalCount = 0;
}

void copyWave(const TDigitalWave& source, TDigitalWave& target) {
    if (&source == &target) return;
    target = source;
    for (std::size_t i = source.usedSignals().size(); i < target.signals.size(); ++i)
        target.signals[i] = TSignal{};
}

void advanceClocks(TDigitalWave& wave, std::int32_t step) {
    for (TSignal& signal : wave.usedSignals()) {
        if (!signal.isClock()) continue;
        // Unsigned arithmetic: the counter wraps instead of overflowing, and any stored clockBit
        // selects one of its 32 bits.
        const auto counter = static_cast<std::uint32_t>(signal.counter);
        const auto level = static_cast<std::uint16_t>(counter >> (signal.clockBit & 31) & 1u);
        setSignalValue(signal, wave.word(step), level);
        signal.counter = static_cast<std::int32_t>(counter + 1u);
    }
}
