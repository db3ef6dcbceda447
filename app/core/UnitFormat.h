#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number texts of the panels, read-outs and dialogs. Every function is pure: the decimal point
// is always "." whatever the C or C++ locale, and typed texts accept "," as well.
//
// Formatters return the number with its prefix letter ("k", "M", "G", "m", "u", "n", "p");
// the caller appends the unit ("Hz", "s", "V"). Displayed values are rounded to the nearest
// integer with ties to even, computed in extended precision, unless a function says otherwise.
// An infinite or not-a-number value is written "INF", "-INF" or "NAN" without a prefix.

// The general form of a number: the shortest text with at most 15 significant digits that
// reads back to the value (or the value rounded to 15 digits when no such text exists), no
// trailing zeros or point, and an exponent ("E+20", "1.25E-5") only below 1e-4 or from 1e15 up.
std::string plainNumberText(double value);

// 1/dt read-outs: two decimals below 2, whole numbers up to 1000, then one decimal of "k",
// "M" or "G". The range is chosen on the unrounded value (999.6 gives "1000").
std::string formatFrequencyShort(double value);

// Six significant digits in fixed notation with no prefix, "k" or "M"; the last digit is
// rounded half away from zero ("0.100000", "25.0000M").
std::string formatFrequency6(double value);

// The typed frequency of the frequency panels: digits with "." or ",", then optionally "k" or
// "M"; spaces are ignored. -1 when the text is not valid (a unit followed by digits, an
// unknown unit, no number).
double parseFrequency(std::string_view text);

// Seconds with one decimal from 1 s up, else two decimals of "m", "u", "n" (down to 1e-8) or
// "p". 0 gives "0"; a negative time is written as its magnitude with "-" in front.
std::string formatTime(double seconds);

// Like formatTime, but the prefix is chosen by `scale` and the digits are those of `value`, in
// fixed notation with exactly one (no prefix) or two decimals and the digits grouped in
// thousands, so that several values of one display share a prefix. The application passes the
// thousands separator of the operator's locale; the default suits the "." decimal point.
std::string formatScaled(double value, double scale, std::string_view thousandsSeparator = ",");

// Volts with up to three decimals from 1 V up, else "m" with one decimal or "u" with two;
// below 1 uV the text is "0". A negative value gets "-" in front (a tiny negative one "-0").
std::string formatVoltage(double volts);

// A typed level: a number ("," or "." as the point, "-" for the sign) and optionally "V",
// "mV", "uV", "nV" or the prefix letter alone. Nothing when the text is not valid; digits
// typed after the unit make it invalid, as in parseFrequency.
std::optional<double> parseVoltage(std::string_view text);

// Hexadecimal digits in either letter case; an empty text is 0 and more than eight digits wrap
// around. Throws UserError "Incorrect hexadecimal number" for any other character.
std::uint32_t parseHex(std::string_view text);

// 0 below 1, else the number of decimal digits (1 for 1..9, 2 for 10..99, ...).
int digitCount(std::int64_t value);

// A byte count with two decimals of "k" (1024) or "M" (1048576) or none ("1.5k", "2.86M").
std::string formatByteSize(double bytes);

// "a.b.c.d".
std::string versionText(int a, int b, int c, int d);

// The text with every "," replaced by ".".
std::string commaToPoint(std::string_view text);

// The characters after the last "." of the last path part, without the point; empty when the
// last part has no point. Both "/" and "\" separate path parts.
std::string fileExtension(std::string_view fileName);

// The number with a leading "0" when it is below 10 ("07", "12").
std::string twoDigits(int value);

// Reads a decimal number: optional leading spaces and sign, digits with an optional fraction
// ("." only) and exponent, nothing after it. Never depends on the locale.
std::optional<double> parseDecimal(std::string_view text);

// Reads a whole number: an optional "+", then what std::from_chars takes for an int, and
// nothing after it.
std::optional<int> parseInteger(std::string_view text);
