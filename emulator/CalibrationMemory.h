#pragma once

#include <array>
#include <cstdint>

namespace q745vi {

// The instrument's 32-word calibration memory. Word 21 is the checksum: the sum of (word + 1)
// over the other 31 words, modulo 65536. Sets: 0 A at -20 dB, 1 B at -20 dB, 2 A normal,
// 3 B normal.
class CalibrationMemory {
public:
    static constexpr int kWords = 32;
    static constexpr int kChecksumWord = 21;

    // The factory calibration: the driver's default values, a 50 MHz oscillator, a valid sum.
    CalibrationMemory();

    std::uint16_t word(int address) const { return words_[static_cast<std::size_t>(address)]; }
    // Changes one word and leaves the checksum as it is.
    void setWord(int address, std::uint16_t value);
    // Words 19 and 20, with the checksum made valid again.
    void setOscillator(std::uint32_t hertz);
    void sealChecksum();
    bool checksumValid() const;
    std::uint16_t expectedChecksum() const;

    std::uint32_t oscillator() const;
    int shiftLow(int set) const;
    int shiftHigh(int set) const;
    int shiftOff(int channel) const;
    int levelLow(int set) const;
    int levelHigh(int set) const;

private:
    std::array<std::uint16_t, kWords> words_{};
};

}  // namespace q745vi
