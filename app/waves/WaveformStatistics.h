#pragma once

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

#include "waves/WaveformRecord.h"

// The spectrum behind harmonicCount: a 16384-point radix-2 transform of the raw samples, run
// every time a slot changes. The work arrays (complex values, bit-reversed indices, rounded
// magnitudes and one stage's twiddle factors) are allocated once and reused, so a transform
// does not allocate.
class SpectrumWorkArea {
public:
    SpectrumWorkArea();

    // Transforms exactly kWavePointCount samples (1..255, not centred, as real parts) and
    // rounds every bin's magnitude to the nearest integer.
    void transform(std::span<const std::uint8_t> samples);

    std::complex<double> bin(std::size_t k) const { return {values_[k].re, values_[k].im}; }
    std::int64_t roundedMagnitude(std::size_t k) const { return magnitudes_[k]; }

    // The highest bin below the Nyquist bin whose magnitude is above a twentieth of the
    // largest magnitude except bin 0; at least 1.
    std::int32_t highestSignificantHarmonic() const;

private:
    struct Complex {
        double re;
        double im;
    };
    std::vector<Complex> values_;
    std::vector<std::uint32_t> reversedIndices_;  // where input sample i goes first
    std::vector<std::int64_t> magnitudes_;
    std::vector<Complex> twiddles_;  // the current stage's factors, in the order they arise
};

// Fills maxSample, minSample, peakToPeak, meanSample and harmonicCount; does nothing for an
// empty record. The spectrum is taken only of a 16384-point record (others get 1). The first
// form uses one work area shared by the calling thread.
void computeStatistics(WaveformRecord& record);
void computeStatistics(WaveformRecord& record, SpectrumWorkArea& workArea);
