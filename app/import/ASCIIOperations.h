#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

#include "core/ProgressReporter.h"
#include "core/UserMessages.h"

// Reading text files of numbers for import mode. A line whose first character other than a
// space or TAB is not a number character (a digit, "E", "e", "+", "-") is a header or comment
// line and is skipped.

enum class AsciiReadMode { All = 0, Odd = 1, Even = 2 };  // every entry, 1st 3rd 5th..., 2nd 4th...

struct AsciiOptions {
    bool realNumbers = false;
    char separator = ',';  // the decimal separator, used only with real numbers
    AsciiReadMode readMode = AsciiReadMode::All;
};

enum class AnalyseCode { Guessed = 0, CannotOpen = 1, Abandoned = 2, NoNumbers = 3 };

struct AsciiAnalysis {
    AnalyseCode code = AnalyseCode::NoNumbers;
    bool realNumbers = false;  // the guess, valid with code Guessed
    char separator = ',';
};

// Guesses whether the file holds real numbers and which decimal separator ("." or ",") it
// uses, under the progress window "Analyzing file ...". The first byte that is not text asks
// whether to go on; No, or "Break", abandons the import.
AsciiAnalysis Analyse(const std::filesystem::path& fileName, UserMessages& messages,
                      ProgressReporter& progress);

inline constexpr std::int64_t kLoadCannotOpen = -1;
inline constexpr std::int64_t kLoadBadNumber = -2;  // the message is already shown
inline constexpr std::int64_t kLoadBrokenOff = -3;  // "Break" was pressed

// Reads the numbers that pass the read-mode filter into `values` (in file order) under the
// progress window "Loading file ...", and returns their count or one of the codes above;
// `values` is left empty on failure. When there are more than `storeAtMost` values, they are
// only counted (every number is still checked), so that a huge file costs no memory.
std::int64_t Load(const std::filesystem::path& fileName, const AsciiOptions& options,
                  std::vector<double>& values, UserMessages& messages, ProgressReporter& progress,
                  std::int64_t storeAtMost = std::numeric_limits<std::int64_t>::max());
