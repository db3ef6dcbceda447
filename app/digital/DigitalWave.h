#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "digital/DigitalSignal.h"

class ByteReader;

inline constexpr std::int32_t kMaxWaveLength = 262144;
// Step words are allocated in whole multiples of this many words.
inline constexpr std::int32_t kWaveAllocationUnit = 65536;

// A sequence of 16-bit step words (bit k of word s is line Dk during step s) with its signals.
//
// `capacity` follows the allocation rule of the files (the length rounded up to a multiple of
// 65536); only the `length` words in use are held, so a block that declares a large capacity
// never makes us allocate it.
class TDigitalWave {
public:
    std::int32_t signalCount = 0;
    std::array<TSignal, kMaxSignals> signals{};

    std::int32_t length() const { return static_cast<std::int32_t>(data_.size()); }
    std::int32_t capacity() const { return capacity_; }
    bool empty() const { return data_.empty(); }

    // Step s, 0 <= s < length.
    std::uint16_t& word(std::int32_t step) { return data_[static_cast<std::size_t>(step)]; }
    std::uint16_t word(std::int32_t step) const { return data_[static_cast<std::size_t>(step)]; }
    std::span<std::uint16_t> words() { return data_; }
    std::span<const std::uint16_t> words() const { return data_; }

    std::span<TSignal> usedSignals() { return {signals.data(), usedSignalCount()}; }
    std::span<const TSignal> usedSignals() const { return {signals.data(), usedSignalCount()}; }
    // True for an index of a signal in use.
    bool hasSignal(int index) const { return index >= 0 && index < signalCount; }

private:
    friend void setWaveLength(TDigitalWave& wave, std::int32_t newLength);
    friend void clearWave(TDigitalWave& wave);
    friend void readWaveBlock(ByteReader& in, TDigitalWave& wave);

    std::size_t usedSignalCount() const {
        return signalCount < 0 ? 0 : signalCount > kMaxSignals ? kMaxSignals : signalCount;
    }

    std::vector<std::uint16_t> data_;
    std::int32_t capacity_ = 0;
};

// The capacity that the allocation rule gives for a length.
std::int32_t capacityForLength(std::int32_t length);

// Changes the number of steps; new steps beyond the old allocation are 0. Raises UserError
// "Waveform too long" above 262144 steps, leaving the wave unchanged.
void setWaveLength(TDigitalWave& wave, std::int32_t newLength);

// Releases the steps and forgets the signals.
void clearWave(TDigitalWave& wave);

// Deep copy of the steps in use and the signals in use.
void copyWave(const TDigitalWave& source, TDigitalWave& target);

// Every clock signal writes bit `clockBit` of its counter into the step and advances the counter;
// done for each step appended at the end of a wave.
void advanceClocks(TDigitalWave& wave, std::int32_t step);
