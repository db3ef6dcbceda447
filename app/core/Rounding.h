#pragma once

#include <cmath>

// Rounding of the displayed and computed values. The operator sees these results, so they do
// not depend on the floating-point environment's rounding mode.

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline long double roundHalfEven(long double x) {
    long double lower = std::floor(x);
    long double difference = x - lower;
    if (difference > 0.5L) return lower + 1;
    if (difference < 0.5L) return lower;
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

// The same for a double, without the slower extended arithmetic (x - floor(x) is exact).
inline double roundHalfEven(double x) {
    double lower = std::floor(x);
    double difference = x - lower;
    if (difference > 0.5) return lower + 1;
    if (difference < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

// Nearest integer, ties away from zero (2.5 -> 3, -2.5 -> -3).
inline long double roundHalfAway(long double x) {
    return std::round(x);
}
