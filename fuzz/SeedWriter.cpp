// Writes the seed corpora of the fuzz targets into the folder given (one sub-folder per
// target): small valid files made by our own writers, and for the formats we only read, small
// files as their descriptions give them. Run it to renew fuzz/corpus after a format change.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/ByteStream.h"
#include "core/SettingsTranslator.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"
#include "digital/MainWaveFile.h"
#include "digital/WaveFile.h"
#include "generators/SquareWave.h"
#include "waves/GawFile.h"
#include "waves/WaveformStatistics.h"
#include "waves/WaveformStore.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path root;

void seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path folder = root / target;
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void seed(const std::string& target, const std::string& name, std::string_view text) {
    seed(target, name, Bytes(text.begin(), text.end()));
}

WaveformRecord squareRecord(int points) {
    WaveformRecord record;
    record.setName("Square");
    record.points.assign(static_cast<std::size_t>(points), 255);
    std::fill(record.points.begin(), record.points.begin() + points / 2, std::uint8_t{1});
    record.optionsKind = kOptionsSquare;
    record.params = encodeSquareShares({});
    computeStatistics(record);
    return record;
}

Bytes recordBytes(const WaveformRecord& record) {
    ByteWriter out;
    writeRecord(out, record);
    return out.take();
}

void waveSeeds() {
    seed("GawFuzzer", "square-64.gaw", recordBytes(squareRecord(64)));
    WaveformRecord untitled;
    untitled.setName("Untitled");
    seed("GawFuzzer", "empty.gaw", recordBytes(untitled));

    WaveformStore store;
    store.slots[0] = squareRecord(16);
    store.importedA = squareRecord(8);
    store.importedA.imported = 1;
    seed("WavesStoreFuzzer", "store.dat", encodeStore(store));
    ByteWriter old;
    writeString(old, kOldStoreHeader);
    for (const WaveformRecord& slot : WaveformStore{}.slots)
        writeRecord(old, slot);
    seed("WavesStoreFuzzer", "store-old-header.dat", old.take());
}

TSignal signalOn(const std::string& name, std::initializer_list<int> lines) {
    TSignal signal;
    signal.name = name;
    signal.width = static_cast<std::uint8_t>(lines.size());
    int bit = 0;
    for (int line : lines) {
        signal.pins[static_cast<std::size_t>(bit)] = {static_cast<std::uint16_t>(1u << line),
                                                      static_cast<std::int8_t>(line - bit)};
        ++bit;
    }
    return signal;
}

TDigitalWave waveOf(std::initializer_list<TSignal> signals, std::vector<std::uint16_t> words) {
    TDigitalWave wave;
    for (const TSignal& signal : signals)
        wave.signals[static_cast<std::size_t>(wave.signalCount++)] = signal;
    setWaveLength(wave, static_cast<std::int32_t>(words.size()));
    for (std::size_t s = 0; s < words.size(); ++s)
        wave.word(static_cast<std::int32_t>(s)) = words[s];
    return wave;
}

TDigitalWave mainWave() {
    TSignal clock = signalOn("CLK", {15});
    clock.kind = kClockSignal;
    clock.clockBit = 1;
    clock.counter = 6;
    return waveOf({signalOn("EN", {0}), signalOn("DATA", {4, 5, 6}), clock},
                  {0x0001, 0x0011, 0x8021, 0x8031, 0x0041, 0x0051});
}

TDigitalMacro macroOf(const std::string& name, TDigitalWave templateWave,
                      std::initializer_list<int> targets, int cycles) {
    TDigitalMacro macro;
    macro.name = name;
    macro.description = "V00-V31";
    macro.wave = std::move(templateWave);
    int element = 0;
    for (int target : targets)
        macro.targetMap[static_cast<std::size_t>(element++)] = static_cast<std::int8_t>(target);
    macro.cycles = macro.remaining = cycles;
    return macro;
}

MacroQueue runningQueue() {
    TDigitalMacro counting =
        macroOf("Count", waveOf({signalOn("V", {0, 1, 2})}, {1, 2, 3}), {1}, 3);
    counting.valueSource = kValueCountUp;
    counting.value = 5;
    counting.bindings = {{0, 0, 0, 0}, {1, 1, 0, 2}};
    TDigitalMacro asking = macroOf("Ask", waveOf({signalOn("E", {0})}, {1, 0}), {0}, 2);
    asking.bindings = {{4, 0, 0, 1}};
    TDigitalMacro fromFile = macroOf("File", waveOf({signalOn("W", {0})}, {1}), {0}, 2);
    fromFile.valueSource = kValueFromFile;
    fromFile.description = "values.bin";
    fromFile.valueWidth = 1;
    fromFile.fileOffset = 2;
    fromFile.bindings = {{0, 0, 0, 0}};
    return {counting, asking, fromFile};
}

void digitalSeeds() {
    seed("MainWaveFuzzer", "dwave.dat", encodeMainWave(mainWave()));
    seed("MainWaveFuzzer", "dwave-empty.dat", encodeMainWave(TDigitalWave{}));

    seed("WaveFileFuzzer", "running-macros.gdw", encodeWaveFile(mainWave(), runningQueue()));
    // A stored running entry whose position is the largest 32-bit number is skipped.
    MacroQueue largest = runningQueue();
    largest[0].position = 2147483647;
    seed("WaveFileFuzzer", "running-entry-at-largest-position.gdw",
         encodeWaveFile(mainWave(), largest));

    MacroQueue library = runningQueue();
    library[0].name = "b";
    library[1].name = "A";
    seed("MacroLibraryFuzzer", "library.dat", encodeLibrary(library));
    seed("MacroLibraryFuzzer", "library-empty.dat", encodeLibrary({}));
    seed("MacroFileFuzzer", "count.gma", encodeMacroFile(library[0]));
}

void importSeeds() {
    seed("R210Fuzzer", "two-channels.txt",
         "TimeBaseValue: 12\r\nDensityChannelA: 3\r\nDensityChannelB: 0\r\n"
         "GroundChannelA: 127,5\r\nGroundChannelB: 128.0\r\nDeviceType: 213\r\nSettingsEnd\r\n"
         "Channel A samples:\r\n128\r\n200\r\n300\r\n60\r\nChannel B samples:\r\n1\r\n2\r\n3\r\n"
         "4\r\n");
    seed("R210Fuzzer", "channel-b-without-device-type.txt",
         "TimeBaseValue: 3\nDensityChannelB: 9\nSettingsEnd\nChannel B samples:\n10\n20\n");

    std::string q726 =
        "range_a=2\r\nrange_b=8\r\ntimebase=20\r\n[channel_a]\r\nlength=4\r\n"
        "--- begin ---\r\n";
    q726 += std::string("\x80\x90\xa0\xb0", 4);
    q726 += "\r\n[channel_b]\r\nlenght=3\r\n--- begin ---\r\n";
    q726 += std::string("\x01\x02\x03", 3);
    q726 += "\r\n";
    seed("Q726Fuzzer", "two-channels.dat", q726);

    // The options byte (real numbers, read mode, Normalize, the answer) and the separator.
    seed("AsciiFuzzer", "header-and-pairs", std::string("\x09.time,value\n0,1.5\n1,2.5\n"));
    seed("AsciiFuzzer", "even-entries", std::string("\x0d.time,value\n0,1.5\n1,2.5\n"));
    seed("AsciiFuzzer", "decimal-comma", std::string("\x09,1,5;2,5\n  -3\nVoltage\n"));
    seed("AsciiFuzzer", "whole-numbers", std::string("\x08,1,5;2,5\n"));
    seed("AsciiFuzzer", "exponents", std::string("\x09.1e3 1.5e-2 -3 1-2\n"));
    seed("AsciiFuzzer", "beyond-the-double-range", std::string("\x09.1e308\n-1e308\n0\n"));
    seed("AsciiFuzzer", "near-the-smallest-doubles", std::string("\x09.4.9e-324\n-4.9e-324\n0\n"));
    seed("AsciiFuzzer", "not-ascii", std::string("\x19.1 2 \xff 3\n"));
}

void settingsSeeds() {
    seed("SettingsFuzzer", "default.dat", settingsText(SettingsValues{}));
    SettingsValues changed;
    changed.baseAddress = 3;
    changed.portAddress = 0x2F8;
    changed.useProxy = true;
    changed.proxyAddress = "proxy.example.net";
    changed.proxyPort = 8080;
    changed.channels[0].load = 50;
    changed.channels[0].filter = 0;
    changed.channels[1].wave = 6;
    changed.channelBMultiplication = 99;
    changed.digitalVoltage = 1;
    changed.importFrequency.realFrequency = 1.25e-5;
    seed("SettingsFuzzer", "changed.dat", settingsText(changed));
}

void formulaSeeds() {
    // The permissions byte: x, y, z, n, percent.
    seed("FormulaFuzzer", "sine", std::string("\x01sin(x)"));
    seed("FormulaFuzzer", "powers",
         std::string("\x00"
                     "2*3^2+2^3^2-2*-3",
                     17));
    seed("FormulaFuzzer", "percent",
         std::string("\x10"
                     "50%"));
    seed("FormulaFuzzer", "groups", std::string("\x07(x+y)*abs(y)/2^(z/z)-cos(pi*x)"));
    seed("FormulaFuzzer", "harmonic",
         std::string("\x08"
                     "1/n^2"));
    seed("FormulaFuzzer", "unterminated", std::string("\x01(x+1"));
    seed("FormulaFuzzer", "comma",
         std::string("\x00"
                     "3,5*2",
                     6));
}

void updateListSeeds() {
    seed("UpdateListFuzzer", "two-versions.txt",
         "http://www.kelvo.sk/download/q745setup.exe;1.0.0.5;q745setup.exe;\r\n"
         "http://www.kelvo.sk/download/q745setup2.exe;1.1.0.0;q745setup2.exe\r\n");
    seed("UpdateListFuzzer", "same-version-invalid-lines.txt",
         "http://a/x.exe;2.0.0.0;x.exe;\nbroken line\nhttp://a/y.exe;2.0.0.0;y.exe;\n"
         "http://a/z;1.2;z.exe\nhttp://a/w;1.2.3.4;../w.exe\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: SeedWriter FOLDER\n";
        return 1;
    }
    root = argv[1];
    waveSeeds();
    digitalSeeds();
    importSeeds();
    settingsSeeds();
    formulaSeeds();
    updateListSeeds();
    return 0;
}
