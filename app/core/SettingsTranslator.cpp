#include "core/SettingsTranslator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <span>

#include "core/FileStore.h"
#include "core/Rounding.h"
#include "core/SettingsTarget.h"
#include "core/UnitFormat.h"
#include "core/UserError.h"
#include "core/UserMessages.h"

namespace {

// ---- vocabulary ----

struct Word {
    std::string_view text;
    int value;
};

// The reader's single table for every key (compared lower-cased). "low" is 2 and "high" 1
// although the writer writes filter 0 as "Low": the filter keys undo this.
constexpr std::array<Word, 25> readerWords{{
    {"open", -1},  {"off", 0},        {"period", 0},    {"trailing", 0}, {"stop", 0},
    {"step", 0},   {"minus", 0},      {"manual db", 0}, {"dbw", 0},      {"3.3v", 0},
    {"on", 1},     {"single", 1},     {"leading", 1},   {"go", 1},       {"high", 1},
    {"normal", 1}, {"continuous", 1}, {"plus", 1},      {"auto db", 1},  {"dbmw", 1},
    {"5v", 1},     {"low", 2},        {"-20db", 2},     {"dbmv", 2},     {"dbuv", 3},
}};

std::span<const std::string_view> groupWords(WordGroup group) {
    static constexpr std::string_view onOff[] = {"Off", "On"};
    static constexpr std::string_view moveMode[] = {"Step", "Continuous"};
    static constexpr std::string_view polarity[] = {"Minus", "Plus"};
    static constexpr std::string_view relativeDb[] = {"Manual dB", "Auto dB"};
    static constexpr std::string_view edge[] = {"Trailing", "Leading"};
    static constexpr std::string_view whileOff[] = {"Stop", "Go"};
    static constexpr std::string_view triggerMode[] = {"Period", "Single"};
    static constexpr std::string_view output[] = {"Off", "Normal", "-20dB"};
    static constexpr std::string_view filter[] = {"Low", "High", "Off"};
    static constexpr std::string_view dbUnit[] = {"dBW", "dBmW", "dBmV", "dBuV"};
    static constexpr std::string_view voltage[] = {"3.3V", "5V"};
    switch (group) {
        case WordGroup::OnOff:
            return onOff;
        case WordGroup::MoveMode:
            return moveMode;
        case WordGroup::PeakPolarity:
            return polarity;
        case WordGroup::RelativeDbMode:
            return relativeDb;
        case WordGroup::TriggerEdge:
            return edge;
        case WordGroup::WhileTriggerOff:
            return whileOff;
        case WordGroup::TriggerMode:
            return triggerMode;
        case WordGroup::Output:
            return output;
        case WordGroup::Filter:
            return filter;
        case WordGroup::AbsoluteDbUnit:
            return dbUnit;
        case WordGroup::DigitalVoltage:
            return voltage;
    }
    return {};
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// ---- writer ----

class Writer {
public:
    void header(std::string_view name) {
        text_ += '[';
        text_ += name;
        text_ += "]\r\n";
    }
    void empty() { text_ += "\r\n"; }
    void line(std::string_view key, std::string_view value) {
        text_ += key;
        text_ += " = ";
        text_ += value;
        text_ += "\r\n";
    }
    void integer(std::string_view key, std::int64_t value) { line(key, std::to_string(value)); }
    void number(std::string_view key, double value) { line(key, plainNumberText(value)); }
    void word(std::string_view key, WordGroup group, std::int32_t value) {
        line(key, valueToWord(group, value));
    }
    void onOff(std::string_view key, bool on) { word(key, WordGroup::OnOff, on ? 1 : 0); }

    // One key per channel, A first.
    template <class Write>
    void pair(std::string_view keyA, std::string_view keyB, Write write) {
        write(keyA, 0);
        write(keyB, 1);
    }

    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

void writeFrequency(Writer& w, const FrequencySettings& f) {
    w.number("Frequency", f.frequency);
    w.word("Frequency move mode", WordGroup::MoveMode, f.moveMode);
    w.number("Real frequency", f.realFrequency);
}

// ---- reader ----

enum Section { SectionNone = -1, SectionAnalog = 0, SectionDigital = 1, SectionImport = 2 };

// The value as an integer: rounded, and held within the 32-bit range so that a huge number
// in a hand-edited file cannot overflow.
std::int32_t toInteger(double value) {
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    const double rounded = roundHalfEven(value);
    if (rounded <= low) return std::numeric_limits<std::int32_t>::min();
    if (rounded >= high) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

// Keys that name a channel: the channel, or -1.
int channelOf(std::string_view key, std::string_view keyA, std::string_view keyB) {
    if (key == keyA) return 0;
    if (key == keyB) return 1;
    return -1;
}

int sectionMode(int section) {
    switch (section) {
        case SectionAnalog:
            return ModeAnalog;
        case SectionDigital:
            return ModeDigital;
        case SectionImport:
            return ModeImport;
        default:
            return 0;
    }
}

class LineApplier {
public:
    LineApplier(SettingsTarget& target, int section) : target_(target), section_(section) {}

    void communication(std::string_view key, double value) {
        const std::int32_t n = toInteger(value);
        if (key == "base address") {
            target_.setBaseAddress(std::clamp<std::int32_t>(n, 0, 15));
        } else if (key == "port address") {
            if (n == 0x378 || n == 0x278 || n == 0x3F8 || n == 0x2F8) target_.setPortAddress(n);
        } else if (key == "usb") {
            target_.setUsb(n != 0);
        }
    }

    // The key groups in the reader's order; each returns true when it took the key.
    void full(std::string_view key, double value) {
        const std::int32_t n = toInteger(value);
        shiftKeys(key, n) || levelKeys(key, n) || loadAndDbKeys(key, value, n) ||
            indicatorKeys(key, n) || filterWaveKeys(key, n) || triggerKeys(key, n) ||
            frequencyKeys(key, value) || optionKeys(key, n) || proxyKeys(key, n);
    }

    void text(std::string_view key, std::string_view value) {
        if (key == "proxy address") target_.setProxyAddress(std::string(value));
    }

private:
    bool shiftKeys(std::string_view key, std::int32_t n) {
        if (int ch = channelOf(key, "real shift on channel a", "real shift on channel b"); ch >= 0)
            target_.setRealShift(ch, n);
        else if (ch = channelOf(key, "shift mode on channel a", "shift mode on channel b"); ch >= 0)
            target_.setShiftMode(ch, n == 1);
        else if (ch = channelOf(key, "shift on channel a", "shift on channel b"); ch >= 0)
            target_.setShift(ch, n);
        else
            return false;
        return true;
    }

    bool levelKeys(std::string_view key, std::int32_t n) {
        if (int ch = channelOf(key, "channel a level", "channel b level"); ch >= 0) {
            if (section_ == SectionAnalog) target_.setLevel(ch, n);
            if (section_ == SectionImport) target_.setImportLevel(ch, n);
        } else if (ch = channelOf(key, "output of channel a", "output of channel b"); ch >= 0) {
            if (section_ == SectionAnalog && n >= 0 && n <= 2) target_.setOutput(ch, n);
            if (section_ == SectionImport) target_.setImportOutput(ch, n);
        } else if (ch =
                       channelOf(key, "external level on channel a", "external level on channel b");
                   ch >= 0) {
            target_.setExternalLevel(ch, n == 1);
        } else {
            return false;
        }
        return true;
    }

    bool loadAndDbKeys(std::string_view key, double value, std::int32_t n) {
        if (int ch = channelOf(key, "load on channel a", "load on channel b"); ch >= 0) {
            // A load of 0 ohms or below (other than open) has no meaning and would divide the
            // level model by zero.
            if (n == -1 || n >= 1) target_.setLoad(ch, n);
        } else if (ch = channelOf(key, "relative db mode on channel a",
                                  "relative db mode on channel b");
                   ch >= 0) {
            target_.setRelativeDbMode(ch, n == 1);
        } else if (ch = channelOf(key, "relative db null on channel a (mv)",
                                  "relative db null on channel b (mv)");
                   ch >= 0) {
            target_.setRelativeDbNull(ch, value);
        } else if (ch = channelOf(key, "absolute db mode on channel a",
                                  "absolute db mode on channel b");
                   ch >= 0) {
            if (n >= 0 && n <= 3) target_.setAbsoluteDbUnit(ch, n);
        } else {
            return false;
        }
        return true;
    }

    bool indicatorKeys(std::string_view key, std::int32_t n) {
        using Indicator = SettingsTarget::Indicator;
        struct IndicatorKey {
            std::string_view a, b;
            Indicator indicator;
        };
        static constexpr IndicatorKey keys[] = {
            {"vpp on channel a", "vpp on channel b", Indicator::Vpp},
            {"vp on channel a", "vp on channel b", Indicator::Vp},
            {"vrms on channel a", "vrms on channel b", Indicator::VRms},
            {"vavg on channel a", "vavg on channel b", Indicator::VAvg},
        };
        for (const IndicatorKey& k : keys) {
            if (int ch = channelOf(key, k.a, k.b); ch >= 0) {
                target_.setIndicator(ch, k.indicator, n != 0);
                return true;
            }
        }
        if (int ch = channelOf(key, "vp mode on channel a", "vp mode on channel b"); ch >= 0) {
            target_.setVpMode(ch, n == 1);
            return true;
        }
        return false;
    }

    bool filterWaveKeys(std::string_view key, std::int32_t n) {
        if (int ch = channelOf(key, "filter on channel a", "filter on channel b"); ch >= 0) {
            // "Low" reads as 2 and is item 0.
            const std::int64_t item = 2 - static_cast<std::int64_t>(n);
            if (item >= 0 && item <= 2) target_.setFilterItem(ch, static_cast<std::int32_t>(item));
        } else if (ch = channelOf(key, "wave on channel a", "wave on channel b"); ch >= 0) {
            if (n >= 0 && n <= 31 && target_.waveSlotFilled(n)) target_.setWave(ch, n);
        } else if (key == "channel b phase") {
            target_.setChannelBPhase(n);
        } else if (key == "level lock") {
            target_.setLevelLock(n != 0);
        } else if (key == "voltage") {
            if (n >= 0 && n <= 1) target_.setDigitalVoltage(n);
        } else {
            return false;
        }
        return true;
    }

    bool triggerKeys(std::string_view key, std::int32_t n) {
        using Switch = SettingsTarget::TriggerSwitch;
        struct TriggerKey {
            std::string_view key;
            Switch which;
        };
        static constexpr TriggerKey keys[] = {
            {"trigger", Switch::Trigger},
            {"trigger edge", Switch::LeadingEdge},
            {"while trigger off", Switch::RunWhileTriggerOff},
            {"synchro pulses out", Switch::SyncOut},
            {"trigger mode", Switch::Single},
        };
        for (const TriggerKey& k : keys) {
            if (key == k.key) {
                target_.setTriggerSwitch(k.which, n != 0);
                return true;
            }
        }
        return false;
    }

    bool frequencyKeys(std::string_view key, double value) {
        const int mode = sectionMode(section_);
        if (key == "frequency") {
            if (mode != 0) target_.setFrequency(mode, value);
        } else if (key == "frequency move mode") {
            if (mode != 0) target_.setFrequencyMoveMode(mode, toInteger(value) == 1);
        } else if (key == "real frequency") {
            if (mode != 0) target_.setRealFrequency(mode, value);
        } else if (key == "channel b multiplication") {
            if (section_ == SectionAnalog && value >= 1 && value <= 99)
                target_.setChannelBMultiplication(toInteger(value));
        } else {
            return false;
        }
        return true;
    }

    bool optionKeys(std::string_view key, std::int32_t n) {
        if (key == "force digital outputs") {
            target_.setForceDigitalOutputs(n != 0);
        } else if (key == "count vrms from ac") {
            target_.setCountVRmsFromAC(n != 0);
        } else if (key == "auto filter") {
            target_.setAutoFilter(n != 0);
        } else if (key == "interface mode") {
            // Only the three modes: any other power of two would start with no mode shown.
            if (n == ModeAnalog || n == ModeDigital || n == ModeImport) target_.setStartMode(n);
        } else {
            return false;
        }
        return true;
    }

    bool proxyKeys(std::string_view key, std::int32_t n) {
        if (key == "use proxy") {
            target_.setUseProxy(n != 0);
        } else if (key == "proxy port") {
            if (n > 0) target_.setProxyPort(n);
        } else {
            return false;
        }
        return true;
    }

    SettingsTarget& target_;
    int section_;
};

}  // namespace

std::string valueToWord(WordGroup group, std::int32_t value) {
    const std::span<const std::string_view> words = groupWords(group);
    if (value >= 0 && static_cast<std::size_t>(value) < words.size())
        return std::string(words[static_cast<std::size_t>(value)]);
    return std::to_string(value);
}

std::string loadToWord(std::int32_t ohms) {
    return ohms == -1 ? "Open" : std::to_string(ohms);
}

ParsedValue parseValue(std::string_view text) {
    const std::string pointed = commaToPoint(text);
    if (std::optional<double> number = parseDecimal(pointed)) return {true, *number};
    for (const Word& word : readerWords) {
        if (pointed == word.text) return {true, static_cast<double>(word.value)};
    }
    if (!pointed.empty() && pointed.back() == 'h') {
        try {
            return {true, static_cast<double>(
                              parseHex(std::string_view(pointed).substr(0, pointed.size() - 1)))};
        } catch (const UserError&) {
            return {};
        }
    }
    return {};
}

std::string settingsText(const SettingsValues& v) {
    Writer w;
    const auto& ch = v.channels;
    w.header("Communication");
    w.empty();
    w.integer("Base address", v.baseAddress);
    char port[16];
    std::snprintf(port, sizeof port, "%03X", static_cast<unsigned>(v.portAddress));
    w.line("Port address", std::string(port) + "h");
    w.onOff("USB", v.usb);
    w.empty();

    w.header("Auto update");
    w.empty();
    w.onOff("Use proxy", v.useProxy);
    w.line("Proxy address", v.proxyAddress);
    w.integer("Proxy port", v.proxyPort);
    w.empty();

    w.header("Analog mode");
    w.empty();
    w.pair("Real shift on channel A", "Real shift on channel B",
           [&](auto key, int c) { w.integer(key, ch[c].realShift); });
    w.pair("Shift mode on channel A", "Shift mode on channel B",
           [&](auto key, int c) { w.word(key, WordGroup::MoveMode, ch[c].shiftMode); });
    w.pair("Shift on channel A", "Shift on channel B",
           [&](auto key, int c) { w.integer(key, ch[c].shift); });
    w.empty();
    w.pair("Channel A level", "Channel B level",
           [&](auto key, int c) { w.integer(key, ch[c].level); });
    w.empty();
    w.pair("External level on channel A", "External level on channel B",
           [&](auto key, int c) { w.word(key, WordGroup::OnOff, ch[c].externalLevel); });
    w.empty();
    w.pair("Output of channel A", "Output of channel B",
           [&](auto key, int c) { w.word(key, WordGroup::Output, ch[c].output); });
    w.empty();
    w.pair("Load on channel A", "Load on channel B",
           [&](auto key, int c) { w.line(key, loadToWord(ch[c].load)); });
    w.empty();
    w.pair("Relative dB mode on channel A", "Relative dB mode on channel B",
           [&](auto key, int c) { w.word(key, WordGroup::RelativeDbMode, ch[c].relativeDbMode); });
    w.pair("Relative dB null on channel A (mV)", "Relative dB null on channel B (mV)",
           [&](auto key, int c) { w.number(key, ch[c].relativeDbNull); });
    w.pair("Absolute dB mode on channel A", "Absolute dB mode on channel B",
           [&](auto key, int c) { w.word(key, WordGroup::AbsoluteDbUnit, ch[c].absoluteDbUnit); });
    w.empty();
    w.pair("Vpp on channel A", "Vpp on channel B",
           [&](auto key, int c) { w.onOff(key, ch[c].vpp); });
    w.empty();
    w.pair("Vp on channel A", "Vp on channel B", [&](auto key, int c) { w.onOff(key, ch[c].vp); });
    w.pair("Vp mode on channel A", "Vp mode on channel B",
           [&](auto key, int c) { w.word(key, WordGroup::PeakPolarity, ch[c].vpMode); });
    w.empty();
    w.pair("VRms on channel A", "VRms on channel B",
           [&](auto key, int c) { w.onOff(key, ch[c].vrms); });
    w.empty();
    w.pair("VAvg on channel A", "VAvg on channel B",
           [&](auto key, int c) { w.onOff(key, ch[c].vavg); });
    w.empty();
    w.pair("Filter on channel A", "Filter on channel B",
           [&](auto key, int c) { w.word(key, WordGroup::Filter, ch[c].filter); });
    w.empty();
    w.pair("Wave on channel A", "Wave on channel B",
           [&](auto key, int c) { w.integer(key, ch[c].wave); });
    w.empty();
    w.integer("Channel B phase", v.channelBPhase);
    w.empty();
    writeFrequency(w, v.analogFrequency);
    w.integer("Channel B multiplication", v.channelBMultiplication);
    w.empty();
    w.onOff("Trigger", v.trigger);
    w.word("Trigger edge", WordGroup::TriggerEdge, v.triggerEdge);
    w.word("While trigger off", WordGroup::WhileTriggerOff, v.whileTriggerOff);
    w.onOff("Synchro pulses out", v.synchroPulsesOut);
    w.word("Trigger mode", WordGroup::TriggerMode, v.triggerMode);
    w.empty();

    w.header("Digital mode");
    w.empty();
    writeFrequency(w, v.digitalFrequency);
    w.empty();
    w.word("Voltage", WordGroup::DigitalVoltage, v.digitalVoltage);
    w.empty();

    w.header("Import from scope mode");
    w.empty();
    writeFrequency(w, v.importFrequency);
    w.empty();
    w.integer("Channel A level", v.importLevelA);
    w.integer("Channel B Level", v.importLevelB);
    w.integer("Output of channel A", v.importOutputA);
    w.integer("Output of channel B", v.importOutputB);
    w.empty();
    w.onOff("Level lock", v.levelLock);
    w.empty();

    w.header("Settings");
    w.empty();
    w.onOff("Force digital outputs", v.forceDigitalOutputs);
    w.onOff("Count VRms from AC", v.countVRmsFromAC);
    w.onOff("Auto filter", v.autoFilter);
    w.empty();
    w.integer("Interface mode", v.interfaceMode);
    return w.take();
}

void applySettingsText(std::string_view text, bool communicationPass, SettingsTarget& target) {
    int section = SectionNone;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        std::string lowered;
        lowered.reserve(raw.size());
        for (char c : raw) {
            if (c != '\r') lowered += lowerAscii(c);
        }
        const std::string_view line = trimSpaces(lowered);

        if (!line.empty() && line.front() == '[') {
            if (line == "[analog mode]") section = SectionAnalog;
            if (line == "[digital mode]") section = SectionDigital;
            if (line == "[import from scope mode]") section = SectionImport;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = trimSpaces(line.substr(0, equals));
        std::string joined;
        for (char c : line.substr(equals + 1)) {
            if (c != '=') joined += c;
        }
        const std::string_view value = trimSpaces(joined);

        LineApplier applier(target, section);
        const ParsedValue parsed = parseValue(value);
        if (parsed.recognised) {
            if (communicationPass)
                applier.communication(key, parsed.number);
            else
                applier.full(key, parsed.number);
        } else if (!communicationPass) {
            applier.text(key, value);
        }
    }
}

bool writeSettings(const std::filesystem::path& path, const SettingsValues& values,
                   UserMessages& messages) {
    const std::string text = settingsText(values);
    const ReplaceResult result = replaceFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (result == ReplaceResult::Replaced) return true;
    messages.error("Nie je mozne ukladat do suboru: " + path.string() + ".tmp");
    return false;
}

bool readSettings(const std::filesystem::path& path, bool communicationPass, SettingsTarget& target,
                  UserMessages& messages) {
    const FileRead read = readFileOfKind(path, kLargestSettingsFile);
    if (read.status == ReadStatus::CannotOpen) {
        messages.error("Nie je mozne otvorit subor: " + path.string());
        return false;
    }
    try {
        if (read.status == ReadStatus::TooLarge) throw InvalidFile();
        applySettingsText(std::string_view(reinterpret_cast<const char*>(read.content.data()),
                                           read.content.size()),
                          communicationPass, target);
    } catch (const std::exception&) {
        messages.error("Nie je mozne citat zo suboru: " + path.string());
        return false;
    }
    return true;
}
