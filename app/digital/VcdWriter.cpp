#include "digital/VcdWriter.h"

#include <array>
#include <cctype>
#include <cmath>
#include <span>
#include <vector>

#include "core/UnitFormat.h"
#include "digital/DigitalFiles.h"

namespace {

struct Unit {
    const char* text;
    long double seconds;
};

// The timescales a dump may declare, largest first.
constexpr std::array<Unit, 18> kUnits{{
    {"100 s", 100.0L},
    {"10 s", 10.0L},
    {"1 s", 1.0L},
    {"100 ms", 1e-1L},
    {"10 ms", 1e-2L},
    {"1 ms", 1e-3L},
    {"100 us", 1e-4L},
    {"10 us", 1e-5L},
    {"1 us", 1e-6L},
    {"100 ns", 1e-7L},
    {"10 ns", 1e-8L},
    {"1 ns", 1e-9L},
    {"100 ps", 1e-10L},
    {"10 ps", 1e-11L},
    {"1 ps", 1e-12L},
    {"100 fs", 1e-13L},
    {"10 fs", 1e-14L},
    {"1 fs", 1e-15L},
}};

// A tick within this of a whole number of units counts as whole.
constexpr long double kWholeUnitTolerance = 1e-6L;
// Otherwise a tick holds at least this many units, so that rounding each step's start to the
// unit moves it by less than 0.05 % of a tick.
constexpr long double kRoundedUnitsPerTick = 1000;

// A reference name of the dump: characters other than letters, digits and "_" would be read
// as separators, scopes or bit ranges by the viewers.
std::string referenceName(const std::string& name, int index) {
    std::string reference;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        reference += (std::isalnum(byte) != 0 && byte < 128) || c == '_' ? c : '_';
    }
    return reference.empty() ? "S" + std::to_string(index) : reference;
}

// The identifier code of signal i: one printable character each.
char identifier(int index) {
    return static_cast<char>('!' + index);
}

std::string valueText(const TSignal& signal, std::uint16_t value, int index) {
    std::string text;
    if (signal.isBus()) {
        text = "b";
        for (int bit = signal.width - 1; bit >= 0; --bit)
            text += (value >> bit) & 1 ? '1' : '0';
        text += ' ';
    } else {
        text = value & 1 ? "1" : "0";
    }
    text += identifier(index);
    text += '\n';
    return text;
}

}  // namespace

VcdTimeBase::VcdTimeBase(double tickFrequency) {
    if (!(tickFrequency > 0) || !std::isfinite(tickFrequency)) {
        timescale_ = "1 s";
        return;
    }
    const long double tick = 1.0L / static_cast<long double>(tickFrequency);
    for (const Unit& unit : kUnits) {
        const long double units = tick / unit.seconds;
        if (units >= 1 && std::fabs(units - std::round(units)) <= kWholeUnitTolerance) {
            timescale_ = unit.text;
            unitsPerStep_ = std::round(units);
            return;
        }
    }
    for (const Unit& unit : kUnits) {
        const long double units = tick / unit.seconds;
        if (units >= kRoundedUnitsPerTick || &unit == &kUnits.back()) {
            timescale_ = unit.text;
            unitsPerStep_ = units;
            return;
        }
    }
}

std::int64_t VcdTimeBase::stepTime(std::int64_t step) const {
    return std::llround(static_cast<long double>(step) * unitsPerStep_);
}

std::string vcdText(const TDigitalWave& wave, double tickFrequency) {
    const VcdTimeBase timeBase(tickFrequency);
    const std::span<const TSignal> signals = wave.usedSignals();
    std::string text;
    text += "$version Q745 $end\n";
    if (tickFrequency > 0)
        text += "$comment tick frequency " + plainNumberText(tickFrequency) + " Hz $end\n";
    text += "$timescale " + timeBase.timescale() + " $end\n";
    text += "$scope module q745 $end\n";
    for (std::size_t i = 0; i < signals.size(); ++i) {
        const TSignal& signal = signals[i];
        const int index = static_cast<int>(i);
        text += "$var wire " + std::to_string(signal.width) + " " + identifier(index) + " " +
                referenceName(signal.name, index);
        if (signal.isBus()) text += " [" + std::to_string(signal.width - 1) + ":0]";
        text += " $end\n";
    }
    text += "$upscope $end\n$enddefinitions $end\n";
    if (wave.empty()) return text;

    text += "#0\n$dumpvars\n";
    for (std::size_t i = 0; i < signals.size(); ++i)
        text +=
            valueText(signals[i], getSignalValue(signals[i], wave.word(0)), static_cast<int>(i));
    text += "$end\n";
    for (std::int32_t step = 1; step < wave.length(); ++step) {
        bool timeWritten = false;
        for (std::size_t i = 0; i < signals.size(); ++i) {
            const std::uint16_t value = getSignalValue(signals[i], wave.word(step));
            if (value == getSignalValue(signals[i], wave.word(step - 1))) continue;
            if (!timeWritten) {
                text += "#" + std::to_string(timeBase.stepTime(step)) + "\n";
                timeWritten = true;
            }
            text += valueText(signals[i], value, static_cast<int>(i));
        }
    }
    // The last step lasts a whole tick too.
    text += "#" + std::to_string(timeBase.stepTime(wave.length())) + "\n";
    return text;
}

bool writeVcdFile(const TDigitalWave& wave, double tickFrequency,
                  const std::filesystem::path& fileName, const std::string& displayName,
                  UserMessages& messages) {
    const std::string text = vcdText(wave, tickFrequency);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    return writeUserFile(fileName, displayName, bytes, messages);
}
