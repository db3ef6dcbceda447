#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "digital/DigitalWave.h"

class BusValueDialog;

// Changing a signal by hand in the wave editors.

// The click on a sequence signal's "E" at the cursor step: a single line is inverted; a bus
// takes the hexadecimal value typed in the bus dialog. allowChange, when given, may refuse the
// cell (the macro editor protects cells bound to the cycle value). An invalid hexadecimal text
// raises "Incorrect hexadecimal number" and leaves the bus unchanged. True when the wave changed.
bool editCell(TDigitalWave& wave, int signal, std::int32_t step, BusValueDialog& dialog,
              const std::function<bool(int signal)>& allowChange = {});

// Enter in "Counter:": a whole number (see parseInteger32) becomes the clock's counter; other
// text leaves it unchanged. True when the counter was set.
bool setCounter(TSignal& signal, std::string_view text);
