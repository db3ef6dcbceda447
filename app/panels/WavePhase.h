#pragma once

#include <string>

// Channel B's phase against channel A, in points of the record.

// The nearest multiple of the quantum (the points channel B advances per played sample: the
// sample step times the channel-B multiplier); ties to even.
int roundPhase(int phase, int quantum);

// Into the half-range about minIndex: a phase above half the record's span is reduced by the
// span, one below minus half of it increased by it; exactly half the span becomes minus half
// (8192 and 8191 both read -8191 on a 16384-point record).
int wrapPhase(int phase, int minIndex, int maxIndex);

// The label at the top left: "No phase shift", or "Phase: " and the time by which B is delayed
// ("-" in front when it leads) with "s"; the period is 16384 points at the device frequency
// times the multiplier.
std::string phaseLabel(int phase, double deviceFrequency, int multiplier);
