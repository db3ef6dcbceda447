#pragma once

#include <cstdint>
#include <vector>

#include "AnalogOutputs.h"
#include "FrequencySynthesis.h"
#include "OctaveDecimator.h"
#include "RegisterAccess.h"

namespace q745drv {

// Loading a channel's waveform memory: an octave set made from one 16384-point waveform
// (length -1), or raw bytes (length 1..262144). The channel is parked during the load and
// switched on again afterwards when it was on.
class WaveformUpload {
public:
    // The decimation steps an octave set accepts. Larger steps would decimate octave 0 by more
    // than the whole waveform and make the float sums run for seconds.
    static constexpr std::int32_t kMaxStep = kPointsPerWaveform;

    WaveformUpload(RegisterAccess& registers, AnalogOutputs& outputs,
                   FrequencySynthesis& frequency);

    // The result of the closing switch-on when the channel was on, else the release result.
    // A null buffer, a length other than -1 or 1..262144, or (for an octave set) a step
    // outside 1..kMaxStep is refused with 0 before any register access.
    std::int32_t setWaveForm(const std::uint8_t* data, std::int32_t channel, std::int32_t length,
                             std::int32_t phase, std::int32_t step);

private:
    void prepareLoad(int channel);
    void loadOctaveSet(const std::uint8_t* data, std::int32_t phase, std::int32_t step,
                       int channel);
    void loadRaw(const std::uint8_t* data, std::int32_t length, int channel);
    void finishLoad(int channel);

    RegisterAccess& registers_;
    AnalogOutputs& outputs_;
    FrequencySynthesis& frequency_;
    OctaveDecimator decimator_;
    std::vector<std::uint8_t> transfer_;
    // Shadows of registers 8, 7 and 10 from before the load.
    std::uint8_t savedControl_ = 0;
    std::uint8_t savedEndTop_ = 0;
    std::uint8_t savedTrigger_ = 0;
};

}  // namespace q745drv
