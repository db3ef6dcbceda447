#pragma once

#include <cstdint>

#include "device/GeneratorConversions.h"

// The shift code that puts the recorded 0 V level of an oscilloscope channel at the
// generator's 0 V: the ground is the sample value (of 256 steps over the full-scale range)
// that the oscilloscope recorded for 0 V. Limited to the shift codes 0-4096.
std::int32_t shiftFromGround(generator::OutputPath path, double rangeMillivolts, double ground);
