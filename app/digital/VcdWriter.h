#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "digital/DigitalWave.h"

class UserMessages;

// A digital wave as a Value Change Dump, the text format that logic-analyser and waveform
// viewers read: one variable per signal (a bus as a vector, bit 0 its lowest bit), a value
// change wherever a signal's value changes from one step to the next, and the time of step s
// at s ticks of the tick frequency.

// The time base of a dump: the timescale ("10 us") and the start of each step in its units.
// When a tick is a whole number of some unit of 1, 10 or 100 s, ms, us, ns, ps or fs, the
// largest such unit is taken and each step lasts exactly that many; otherwise the largest
// unit of which a tick holds at least 1000, each step's start rounded to it.
class VcdTimeBase {
public:
    explicit VcdTimeBase(double tickFrequency);

    const std::string& timescale() const { return timescale_; }
    std::int64_t stepTime(std::int64_t step) const;

private:
    std::string timescale_;
    long double unitsPerStep_ = 1;
};

// The dump's text. A tick frequency that is not a positive number gives each step one unit of
// "1 s" (the program always has one; the command-line tool refuses it first).
std::string vcdText(const TDigitalWave& wave, double tickFrequency);

// Writes the dump through a temporary file beside it. Messages as for the files of the user's
// choice: "Nie je mozne otvorit subor: " or "Neplatny subor: " followed by displayName.
bool writeVcdFile(const TDigitalWave& wave, double tickFrequency,
                  const std::filesystem::path& fileName, const std::string& displayName,
                  UserMessages& messages);
