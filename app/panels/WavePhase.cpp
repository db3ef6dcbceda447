#include "panels/WavePhase.h"

#include <cmath>
#include <cstdlib>

#include "core/Rounding.h"
#include "core/UnitFormat.h"

int roundPhase(int phase, int quantum) {
    if (quantum <= 1) return phase;
    return static_cast<int>(roundHalfEven(static_cast<double>(phase) / quantum)) * quantum;
}

int wrapPhase(int phase, int minIndex, int maxIndex) {
    const int span = maxIndex - minIndex;
    if (span <= 0) return 0;
    const int half = span / 2;
    // One step to near the range, then the loops of the rule: an absurd phase must not loop
    // for long.
    if (std::abs(phase) > 2 * span) phase %= span;
    while (phase > minIndex + half)
        phase -= span;
    while (phase < minIndex - half)
        phase += span;
    if (phase == minIndex + half) phase = minIndex - half;
    return phase;
}

std::string phaseLabel(int phase, double deviceFrequency, int multiplier) {
    if (phase == 0) return "No phase shift";
    double seconds = std::abs(phase) / (deviceFrequency * multiplier * 16384.0);
    if (!std::isfinite(seconds)) seconds = 0;
    return std::string(phase > 0 ? "Phase: -" : "Phase: ") + formatTime(seconds) + "s";
}
