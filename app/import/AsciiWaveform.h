#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/ProgressReporter.h"
#include "core/UserMessages.h"
#include "import/ASCIIOperations.h"
#include "waves/WaveformRecord.h"

// The computations behind the "Import from ASCII" dialog: turning the values of a text file
// into samples ("Reload") and the level and shift that "Ok" gives the target channel.

// Samples of the values; with `normalize` the values are stretched over 1-255 (all 128 when
// they are equal), otherwise each is rounded and limited to 0-255.
struct AsciiSamples {
    std::vector<std::uint8_t> points;
    double maximum = 0;  // extremes of the values, kept for the level and shift
    double minimum = 0;
};
AsciiSamples samplesFromValues(std::span<const double> values, bool normalize);

// The dialog's options as its controls hold them.
struct AsciiReloadSettings {
    bool realNumbers = false;
    std::string separator = ",";  // the text of the separator field
    AsciiReadMode readMode = AsciiReadMode::All;
    bool normalize = true;
};

// The dialog's work record and whether "Ok" may be pressed.
struct AsciiWork {
    AsciiSamples samples;
    bool okEnabled = false;
};

// The opening of a chosen file: Analyse, telling the operator when the file cannot be opened
// or when its options cannot be guessed and are to be set by hand.
AsciiAnalysis analyseAsciiFile(const std::filesystem::path& fileName, UserMessages& messages,
                               ProgressReporter& progress);

// "Reload": loads the file with the settings and converts the values into `work`, telling the
// operator what went wrong. A failed load leaves the samples as they were, and "Ok" is enabled
// only while there are samples to take.
void reloadAscii(const std::filesystem::path& fileName, const AsciiReloadSettings& settings,
                 AsciiWork& work, UserMessages& messages, ProgressReporter& progress);

// "Ok" with "Set (values are in V)" or "Set (values are in mV)": the full-scale level in
// millivolts that the values span.
double asciiAmplitudeMillivolts(const AsciiSamples& samples, bool valuesInMillivolts);

// The shift code (0-4096) that puts the values' minimum at the bottom of that level;
// `attenuated` when the channel's output is on the -20 dB path after the level was set.
std::int32_t asciiShiftCode(const AsciiSamples& samples, bool valuesInMillivolts, bool attenuated);
