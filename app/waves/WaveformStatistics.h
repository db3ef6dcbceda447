#pragma once

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

#include "waves/WaveformRecord.h"

// The spectrum behind harmonicCount: a 16384-point radix-2 transform of the raw samples, run
// every time a slot changes. The work area is allocated once and reused, so a transform does
// not allocate.
class SpectrumWorkArea {
public:
    SpectrumWorkArea();

    // Transforms exactly kWavePointCount samples (1..255, not centred, as real parts) and
    // rounds every bin's magnitude to the nearest integer.
    void transform(std::span<const std::uint8_t> samples);

    std::complex<double> bin(std::size_t k) const { return {entries_[k].re, entries_[k].im}; }
    std::int64_t roundedMagnitude(std::size_t k) const { return entries_[k].magnitude; }

    // The highest bin below the Nyquist bin whose magnitude is above a twentieth of the
    // largest magnitude except bin 0; at least 1.
    std::int32_t highestSignificantHarmonic() const;

private:
    struct Entry {
        double re;
        double im;
        std::uint32_t reversedIndex;  // where input sample i goes before the butterflies
        std::int64_t magnitude;
    };
    std::vector<Entry> entries_;
};

// Fills maxSample, minSample, peakToPeak, meanSample and harmonicCount; does nothing for an
// empty record. The spectrum is taken only of a 16384-point record (others get 1). The first
// form uses one work area shared by the calling thread.
void computeStatistics(WaveformRecord& record);
void computeStatistics(WaveformRecord& record, SpectrumWorkArea& workArea);
