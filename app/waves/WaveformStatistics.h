#pragma once

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

#include "waves/WaveformRecord.h"

// The spectrum behind harmonicCount: the 16384-point transform of the raw samples, run every
// time a slot changes. The samples are real, so the upper half of the spectrum mirrors the lower
// one; they are packed in pairs as 8192 complex values, transformed at half the size and then
// separated into bins 0..8192. The work arrays and the twiddle factors are made once and reused,
// so a transform does not allocate.
class SpectrumWorkArea {
public:
    SpectrumWorkArea();

    // Transforms exactly kWavePointCount samples (1..255, not centred, as real parts) and
    // rounds every bin's magnitude to the nearest integer.
    void transform(std::span<const std::uint8_t> samples);

    // Bin k of 0..16383; the bins above 8192 are the conjugates of those below.
    std::complex<double> bin(std::size_t k) const {
        return k <= kHalf
                   ? std::complex<double>(spectrumRe_[k], spectrumIm_[k])
                   : std::complex<double>(spectrumRe_[kPoints - k], -spectrumIm_[kPoints - k]);
    }
    std::int64_t roundedMagnitude(std::size_t k) const {
        return magnitudes_[k <= kHalf ? k : kPoints - k];
    }

    // The highest bin below the Nyquist bin whose magnitude is above a twentieth of the
    // largest magnitude except bin 0; at least 1.
    std::int32_t highestSignificantHarmonic() const;

private:
    static constexpr std::size_t kPoints = kWavePointCount;
    static constexpr std::size_t kHalf = kPoints / 2;

    // The half-size transform's values, split into real and imaginary parts so that the
    // butterflies run over plain arrays of doubles.
    std::vector<double> re_, im_;
    std::vector<double> spectrumRe_, spectrumIm_;  // bins 0..8192
    std::vector<std::int32_t> magnitudes_;         // bins 0..8192, rounded
    // The largest rounded magnitude except bin 0's; the bins above 8192 mirror bins 1..8191, so
    // it is the largest of all.
    std::int32_t peak_ = 0;
    std::vector<std::uint16_t> gatherOrder_;  // packed value read at each position, bit-reversed
    // Twiddle factors: for each radix-4 pass w^m, w^2m, w^3m (m < its quarter size) one pass after
    // the other; then the last radix-2 pass's, and those that separate the packed halves.
    std::vector<double> twiddleRe_, twiddleIm_;
    std::vector<double> separateRe_, separateIm_;
};

// Fills maxSample, minSample, peakToPeak, meanSample and harmonicCount; does nothing for an
// empty record. The spectrum is taken only of a 16384-point record (others get 1). The first
// form uses one work area shared by the calling thread.
void computeStatistics(WaveformRecord& record);
void computeStatistics(WaveformRecord& record, SpectrumWorkArea& workArea);
