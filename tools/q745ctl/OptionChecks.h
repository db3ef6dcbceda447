#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

// Checks of option values, each refusing with the tool's one message form
// "<what> must be <allowed>: <value>" ("Device index must be 0 to 15: 16"). A check may rewrite the
// text into what the option's type reads (a "," decimal separator into ".", a choice into its
// index).

// A decimal whole number from minimum to maximum.
CLI::Validator wholeNumber(const std::string& what, std::int64_t minimum, std::int64_t maximum);

// A finite decimal number from minimum to maximum; "," is read as ".", as everywhere in the
// system.
CLI::Validator decimalNumber(const std::string& what,
                             double minimum = std::numeric_limits<double>::lowest(),
                             double maximum = std::numeric_limits<double>::max());

// One of the choices, read as its index; each choice may have several spellings, the first of
// which the message shows. The help shows the option's type name, which names the choices.
CLI::Validator choice(const std::string& what,
                      const std::vector<std::vector<std::string>>& choices);

// A channel: "A", "a" or "0" for 0, "B", "b" or "1" for 1.
CLI::Validator channel();
