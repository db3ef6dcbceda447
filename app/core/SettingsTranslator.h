#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/SettingsValues.h"

class SettingsTarget;
class UserMessages;

// The settings file: sections and lines of the form key " = " value, 8-bit text with CR LF.
// The same format serves "Settings.dat" and the profiles.

// The word groups in which values are written.
enum class WordGroup {
    OnOff,            // "Off", "On"
    MoveMode,         // "Step", "Continuous" (shift and frequency move mode)
    PeakPolarity,     // "Minus", "Plus"
    RelativeDbMode,   // "Manual dB", "Auto dB"
    TriggerEdge,      // "Trailing", "Leading"
    WhileTriggerOff,  // "Stop", "Go"
    TriggerMode,      // "Period", "Single"
    Output,           // "Off", "Normal", "-20dB"
    Filter,           // "Low", "High", "Off"
    AbsoluteDbUnit,   // "dBW", "dBmW", "dBmV", "dBuV"
    DigitalVoltage,   // "3.3V", "5V"
};

// The word of value in its group; a value outside the group is written as its number, which
// reads back unchanged.
std::string valueToWord(WordGroup group, std::int32_t value);
// "Open" for -1, otherwise the ohms.
std::string loadToWord(std::int32_t ohms);

struct ParsedValue {
    bool recognised = false;
    double number = 0;
};

// A value text, already lower-cased: a decimal number ("," read as "."), a word of the
// reader's table, or hexadecimal digits followed by "h".
ParsedValue parseValue(std::string_view text);

// The whole file text the writer produces for values.
std::string settingsText(const SettingsValues& values);

// Applies the lines of a settings text in file order. In the communication pass only the
// three communication keys take effect; in the full pass every other key. Lines that are not
// understood are skipped. An exception of the target ends the reading; the lines applied
// before stay applied.
void applySettingsText(std::string_view text, bool communicationPass, SettingsTarget& target);

// The settings file at path: the text replaces the file atomically, through a temporary of a
// unique name beside it (so that a profile never costs the operator a file of his own); false
// after telling the operator ("Nie je mozne ukladat do suboru: " + path + ".tmp") that it
// cannot be written.
bool writeSettings(const std::filesystem::path& path, const SettingsValues& values,
                   UserMessages& messages);

// Settings files are a few kilobytes; a larger file is not read.
inline constexpr std::size_t kLargestSettingsFile = std::size_t{1} << 20;

// Reads the settings file at path into target; false after telling the operator that it
// cannot be opened (also when it is not a regular file) or read (also when it is larger than
// kLargestSettingsFile).
bool readSettings(const std::filesystem::path& path, bool communicationPass, SettingsTarget& target,
                  UserMessages& messages);
