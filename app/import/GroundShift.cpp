#include "import/GroundShift.h"

#include <algorithm>

std::int32_t shiftFromGround(generator::OutputPath path, double rangeMillivolts, double ground) {
    const double millivolts = rangeMillivolts * (128.0 - ground) / 256.0;
    // A ground far off the screen asks for more shift than the generator has.
    return std::clamp(ShiftCodeFromVolts(path, millivolts), 0, 4096);
}
