#include "CalibrationMemory.h"

namespace q745vi {

namespace {

// Word addresses by calibration set (0..3) or channel (0..1).
constexpr int kShiftHighWord[4] = {13, 25, 10, 22};
constexpr int kShiftLowWord[4] = {14, 26, 12, 24};
constexpr int kLevelHighWord[4] = {17, 29, 15, 27};
constexpr int kLevelLowWord[4] = {18, 30, 16, 28};
constexpr int kShiftOffWord[2] = {11, 23};
constexpr int kOscillatorHigh = 19;
constexpr int kOscillatorLow = 20;

}  // namespace

CalibrationMemory::CalibrationMemory() {
    // Words 0-9 and 31 hold the maker's records (model, serial number, date); only the
    // checksum covers them.
    constexpr std::uint16_t records[] = {0x0745, 0x0001, 0x2024, 0x0612, 0x0000,
                                         0x1F40, 0x0C80, 0x0002, 0x0000, 0x5A5A};
    for (int i = 0; i < 10; ++i)
        words_[static_cast<std::size_t>(i)] = records[i];
    words_[31] = 0x0100;
    constexpr int shiftLow[4] = {206, 221, 206, 221};
    constexpr int shiftHigh[4] = {3740, 3762, 3740, 3762};
    constexpr int levelLow[4] = {108, 120, 108, 120};
    constexpr int levelHigh[4] = {2860, 2959, 2860, 2959};
    constexpr int shiftOff[2] = {1972, 1991};
    for (int set = 0; set < 4; ++set) {
        setWord(kShiftLowWord[set], static_cast<std::uint16_t>(shiftLow[set]));
        setWord(kShiftHighWord[set], static_cast<std::uint16_t>(shiftHigh[set]));
        setWord(kLevelLowWord[set], static_cast<std::uint16_t>(levelLow[set]));
        setWord(kLevelHighWord[set], static_cast<std::uint16_t>(levelHigh[set]));
    }
    for (int channel = 0; channel < 2; ++channel)
        setWord(kShiftOffWord[channel], static_cast<std::uint16_t>(shiftOff[channel]));
    setOscillator(50000000);
}

void CalibrationMemory::setWord(int address, std::uint16_t value) {
    if (address >= 0 && address < kWords) words_[static_cast<std::size_t>(address)] = value;
}

void CalibrationMemory::setOscillator(std::uint32_t hertz) {
    setWord(kOscillatorHigh, static_cast<std::uint16_t>(hertz >> 16));
    setWord(kOscillatorLow, static_cast<std::uint16_t>(hertz & 0xFFFF));
    sealChecksum();
}

std::uint16_t CalibrationMemory::expectedChecksum() const {
    std::uint32_t sum = 0;
    for (int i = 0; i < kWords; ++i) {
        if (i != kChecksumWord) sum += words_[static_cast<std::size_t>(i)] + 1u;
    }
    return static_cast<std::uint16_t>(sum);
}

void CalibrationMemory::sealChecksum() {
    words_[kChecksumWord] = expectedChecksum();
}

bool CalibrationMemory::checksumValid() const {
    return words_[kChecksumWord] == expectedChecksum();
}

std::uint32_t CalibrationMemory::oscillator() const {
    return static_cast<std::uint32_t>(word(kOscillatorHigh)) << 16 | word(kOscillatorLow);
}

int CalibrationMemory::shiftLow(int set) const {
    return word(kShiftLowWord[set]);
}
int CalibrationMemory::shiftHigh(int set) const {
    return word(kShiftHighWord[set]);
}
int CalibrationMemory::shiftOff(int channel) const {
    return word(kShiftOffWord[channel]);
}
int CalibrationMemory::levelLow(int set) const {
    return word(kLevelLowWord[set]);
}
int CalibrationMemory::levelHigh(int set) const {
    return word(kLevelHighWord[set]);
}

}  // namespace q745vi
