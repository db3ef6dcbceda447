#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "DriverState.h"

namespace q745drv {

// Nearest integer, ties to the even one.
std::int64_t roundHalfEven(long double x);

// Turns one 16384-point waveform into the 14 decimated octaves of an octave set. Each output
// point of octave j stands for step x 2^j input points and keeps the extremes: a block that
// holds the waveform's maximum (or minimum) yields exactly that value, blocks near the mean
// their average. Sums of points are 32-bit float sums taken in order, as the instrument's
// original software computes them; where such a sum cannot round (it stays below 2^24) it is
// taken from integer prefix sums instead, which gives the same bits much faster.
class OctaveDecimator {
public:
    using Waveform = std::span<const std::uint8_t, kPointsPerWaveform>;
    using Octave = std::span<std::uint8_t, kPointsPerWaveform>;

    OctaveDecimator();

    // Takes the extremes, mean and the extremes and sums of aligned chunks of the waveform, which
    // must outlive the calls that follow.
    void prepare(Waveform waveform);

    // DecimateOctave: `factor` samples per output point, walking the waveform cyclically until
    // an output ends on its last sample; the outputs repeat to fill 16384 points. Returns the
    // phase offset RoundHalfEven(phase / factor). factor >= 1.
    std::int64_t decimateOctave(std::int64_t factor, std::int64_t phase, Octave out);

    // The transfer buffer of an octave set: octave j decimated by step x 2^j and rotated by its
    // phase offset, octave after octave. step >= 1.
    void buildOctaveSet(std::int32_t phase, std::int32_t step,
                        std::span<std::uint8_t, kOctaveSetLength> out);

private:
    // The first outputs of DecimateOctave, up to where they repeat, into out; returns their
    // count, which divides 16384.
    std::int64_t decimate(std::int64_t factor, std::uint8_t* out);
    // Each output point from its block's average avg_, extremes lmin_ and lmax_.
    void decimatedPoints(std::int64_t outputs, std::uint8_t* out) const;
    // The prefix sums are made when first needed after prepare.
    void preparePrefixSums();
    std::int64_t cyclicSum(std::int64_t start, std::int64_t count) const;
    // How many points from start keep their running sum within 2^24.
    std::int64_t exactStretch(std::int64_t start, std::int64_t count) const;
    template <int Lanes>
    void floatSums(std::int64_t factor, std::int64_t outputs);
    void windowExtremes(int level, std::int64_t window);
    // Where the chunks of 2^level points start in levelMax_ and levelMin_.
    static std::size_t levelOffset(int level) { return 32768 - (std::size_t{32768} >> level); }

    const std::uint8_t* w_ = nullptr;
    int gmax_ = 0;
    int gmin_ = 0;
    float mean_ = 0.0f;
    std::vector<std::int64_t> prefix_;  // prefix_[k]: sum of the first k points
    bool prefixReady_ = false;
    std::vector<float> sums_;           // each output's float sum
    std::vector<float> pointsAsFloat_;  // made when first needed after prepare
    bool pointsAsFloatReady_ = false;
    // Extremes and sums of aligned chunks of 1, 2, 4 ... 16384 points, level after level.
    std::vector<std::uint8_t> levelMax_, levelMin_;
    std::vector<std::uint32_t> levelSum_;
    // Each output's block average and extremes, before they become the output points.
    std::vector<float> avg_;
    std::vector<std::uint8_t> lmin_, lmax_;
    // Extremes over windows of several chunks.
    std::vector<std::uint8_t> forwardMax_, forwardMin_, backwardMax_, backwardMin_;
    std::array<std::uint8_t, kPointsPerWaveform> octave_{};
};

}  // namespace q745drv
