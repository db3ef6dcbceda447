// The digital files for "q745ctl inspect" ("DWave.dat", ".gdw", "DMacros.dat", ".gma"),
// "q745ctl digital expand", which runs the running-macro queue of a ".gdw" without a window, and
// "q745ctl digital vcd", which writes a digital wave as a Value Change Dump.
#include <functional>
#include <limits>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include "Command.h"
#include "OptionChecks.h"
#include "ToolJson.h"
#include "core/ByteStream.h"
#include "core/FileStore.h"
#include "core/ProgressReporter.h"
#include "core/UserError.h"
#include "core/UserMessages.h"
#include "digital/DigitalStepper.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"
#include "digital/MacroValueDialog.h"
#include "digital/MainWaveFile.h"
#include "digital/VcdWriter.h"
#include "digital/WaveFile.h"

namespace {

using Content = std::span<const std::uint8_t>;

// Whether the content begins with the stored string `tag`, as every digital file does.
bool beginsWith(Content content, std::string_view tag) {
    ByteReader in(content);
    try {
        return readString(in) == tag;
    } catch (const InvalidFile&) {
        return false;
    }
}

void addWaveFields(Json& json, const TDigitalWave& wave) {
    json["length"] = wave.length();
    json["capacity"] = wave.capacity();
    json["signalCount"] = wave.signalCount;
    json["signals"] = Json::array();
    for (const TSignal& signal : wave.usedSignals()) {
        Json entry;
        entry["name"] = fileText(signal.name);
        entry["width"] = signal.width;
        entry["kind"] = signal.kind;
        entry["clockBit"] = signal.clockBit;
        entry["counter"] = signal.counter;
        entry["pins"] = Json::array();
        for (const PinEntry& pin : signal.usedPins())
            entry["pins"].push_back({{"mask", pin.mask}, {"shift", pin.shift}});
        json["signals"].push_back(std::move(entry));
    }
    json["steps"] = Json::array();
    for (std::uint16_t word : wave.words())
        json["steps"].push_back(word);
}

void addMacroFields(Json& json, const TDigitalMacro& macro) {
    json["name"] = fileText(macro.name);
    json["description"] = fileText(macro.description);
    json["targetMap"] = macro.targetMap;
    json["position"] = macro.position;
    json["remaining"] = macro.remaining;
    json["cycles"] = macro.cycles;
    json["value"] = macro.value;
    json["valueSource"] = macro.valueSource;
    json["fileOffset"] = macro.fileOffset;
    json["valueWidth"] = macro.valueWidth;
    json["bindings"] = Json::array();
    for (const MacroBinding& binding : macro.bindings) {
        json["bindings"].push_back({{"bit", binding.bit},
                                    {"invert", binding.invert},
                                    {"signal", binding.signal},
                                    {"step", binding.step}});
    }
    Json wave;
    addWaveFields(wave, macro.wave);
    json["wave"] = std::move(wave);
}

Json macroList(const MacroQueue& macros) {
    Json list = Json::array();
    for (const TDigitalMacro& macro : macros) {
        Json entry;
        addMacroFields(entry, macro);
        list.push_back(std::move(entry));
    }
    return list;
}

constexpr int kTaggedFilePriority = 10;

// Runs a reader and turns its InvalidFile into the message that names the file.
template <typename Read>
void readOrRefuse(const std::filesystem::path& path, Read read) {
    try {
        read();
    } catch (const InvalidFile&) {
        throw std::runtime_error("Neplatny subor: " + path.string());
    }
}

// A digital file kind recognised by its leading tag. writeFields reads the content and writes
// the fields after "kind"; the JSON is printed only when the whole file reads.
FileInspector taggedInspector(std::string kind, std::string tag,
                              std::function<void(Content, Json&)> addFields) {
    return FileInspector{
        kind, kTaggedFilePriority,
        [tag](const std::filesystem::path&, Content content) { return beginsWith(content, tag); },
        [kind, addFields](const std::filesystem::path& path, Content content, bool,
                          std::ostream& out) {
            Json json;
            json["kind"] = kind;
            readOrRefuse(path, [&] { addFields(content, json); });
            printJson(out, json);
        }};
}

const CommandRegistration mainWaveInspector(taggedInspector("main digital wave",
                                                            "Main digital wave file",
                                                            [](Content content, Json& json) {
                                                                TDigitalWave wave;
                                                                decodeMainWave(content, wave);
                                                                addWaveFields(json, wave);
                                                            }));

const CommandRegistration waveFileInspector(
    taggedInspector("digital wave", "Digital wave", [](Content content, Json& json) {
        TDigitalWave wave;
        MacroQueue running;
        decodeWaveFile(content, wave, running);
        addWaveFields(json, wave);
        json["runningMacros"] = macroList(running);
    }));

const CommandRegistration libraryInspector(taggedInspector("macro library", "Digital macros file",
                                                           [](Content content, Json& json) {
                                                               MacroLibrary library;
                                                               decodeLibrary(content, library);
                                                               json["macros"] = macroList(library);
                                                           }));

const CommandRegistration macroInspector(taggedInspector("macro", "Macro",
                                                         [](Content content, Json& json) {
                                                             addMacroFields(
                                                                 json, decodeMacroFile(content));
                                                         }));

// The engine's questions (a missing or too short value file) are answered Yes and printed as
// warnings, since the command goes on; an error that stops it (the output cannot be written) is
// printed as the tool prints every failure, the message alone.
class ConsoleMessages final : public UserMessages {
public:
    explicit ConsoleMessages(std::ostream& err) : err_(err) {}
    MessageResult messageBox(const std::string& text, MessageKind kind,
                             MessageButtons buttons) override {
        std::string line = text;
        for (std::size_t at = line.find("\r\n"); at != std::string::npos;
             at = line.find("\r\n", at))
            line.replace(at, 2, " ");
        const bool stops = kind == MessageKind::Error && buttons == MessageButtons::Ok;
        err_ << (stops ? "" : "warning: ") << line << '\n';
        return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    }

private:
    std::ostream& err_;
};

// No operator to ask: an entry that wants a value typed in stops the command.
class NoValueDialog final : public MacroValueDialog {
public:
    std::optional<MacroValueAnswer> askMacroValue(const MacroValueRequest& request) override {
        throw std::runtime_error("Macro " + request.macroName +
                                 " asks for the value of its cycle " +
                                 std::to_string(request.cycleNumber) +
                                 "; give it a counted or file-driven value in the editor. "
                                 "Nothing was written.");
    }
};

struct ExpandOptions {
    std::string input;
    std::int32_t steps = 0;
    bool finish = false;
    std::string output;
};

int expand(const ExpandOptions& options, CommandStreams& streams) {
    const std::filesystem::path input = options.input;
    const FileRead read = readFileOfKind(input, kLargestWaveFile);
    if (read.status == ReadStatus::CannotOpen)
        throw std::runtime_error("Nie je mozne otvorit subor: " + input.string());
    TDigitalWave wave;
    MacroQueue running;
    readOrRefuse(input, [&] {
        if (read.status == ReadStatus::TooLarge) throw InvalidFile();
        decodeWaveFile(read.content, wave, running);
    });
    if (wave.signalCount == 0 && (options.finish ? !running.empty() : options.steps > 0))
        throw std::runtime_error("The digital wave has no signals: no step can be appended.");

    const std::int32_t startLength = wave.length();
    std::int32_t cursor = startLength - 1;  // at the end, so that every step is appended
    ConsoleMessages messages(streams.err);
    SilentProgress progress;
    NoValueDialog dialog;
    DigitalStepper stepper(wave, &running, cursor, messages, progress, &dialog);
    if (options.finish)
        stepper.finishMacroQueue();
    else
        stepper.takeSteps(options.steps);

    if (!saveWaveFile(wave, running, options.output, messages)) return 1;
    streams.out << "Appended " << wave.length() - startLength << " steps; length " << wave.length()
                << ", running macros left " << running.size() << '\n';
    return 0;
}

// The tick frequency of a new installation: the files do not keep the one set on the
// instrument.
constexpr double kDefaultTickFrequency = 589824;
constexpr double kLowestVcdFrequency = 0.001;
constexpr double kHighestVcdFrequency = 1e9;

struct VcdOptions {
    std::string input;
    double frequency = kDefaultTickFrequency;
    std::string output;
};

int vcd(const VcdOptions& options, CommandStreams& streams) {
    const std::filesystem::path input = options.input;
    const std::optional<std::vector<std::uint8_t>> content = readWholeFile(input);
    if (!content) throw std::runtime_error("Nie je mozne otvorit subor: " + input.string());
    TDigitalWave wave;
    if (beginsWith(*content, "Main digital wave file")) {
        readOrRefuse(input, [&] { decodeMainWave(*content, wave); });
    } else if (beginsWith(*content, "Digital wave")) {
        MacroQueue running;
        readOrRefuse(input, [&] { decodeWaveFile(*content, wave, running); });
    } else {
        throw std::runtime_error("Neplatny subor: " + input.string());
    }
    ConsoleMessages messages(streams.err);
    if (!writeVcdFile(wave, options.frequency, options.output, options.output, messages)) return 1;
    streams.out << "Wrote " << wave.length() << " steps of " << wave.signalCount << " signals to "
                << options.output << " (timescale " << VcdTimeBase(options.frequency).timescale()
                << ")\n";
    return 0;
}

void defineVcd(CLI::App& digital, CommandSet& commands) {
    auto options = std::make_shared<VcdOptions>();
    CLI::App* command = digital.add_subcommand(
        "vcd", "write a digital wave (.gdw or DWave.dat) as a Value Change Dump");
    command->add_option("IN", options->input, "the digital wave to read")->required();
    command
        ->add_option("--frequency", options->frequency,
                     "the tick frequency in Hz (default 589824, a new installation's)")
        ->transform(
            decimalNumber("Tick frequency in Hz", kLowestVcdFrequency, kHighestVcdFrequency));
    command->add_option("-o", options->output, "the dump to write")->required();
    commands.setRun(command, [options](CommandStreams& streams) { return vcd(*options, streams); });
}

void define(CLI::App& tool, CommandSet& commands) {
    auto options = std::make_shared<ExpandOptions>();
    CLI::App* digital = tool.add_subcommand("digital", "work on digital waves (.gdw)");
    digital->require_subcommand(1);
    defineVcd(*digital, commands);
    CLI::App* command = digital->add_subcommand(
        "expand", "append steps to a digital wave, filled by its running macros");
    command->add_option("IN", options->input, "the digital wave to read")->required();
    CLI::Option_group* amount = command->add_option_group("amount", "how far to expand");
    amount->add_option("--steps", options->steps, "append this many steps")
        ->transform(wholeNumber("--steps", 0, std::numeric_limits<std::int32_t>::max()));
    amount->add_flag("--finish", options->finish, "append steps until no macro is running");
    amount->require_option(1);
    command->add_option("-o", options->output, "the digital wave to write")->required();
    commands.setRun(command,
                    [options](CommandStreams& streams) { return expand(*options, streams); });
}

const CommandRegistration digitalCommand(Command{60, define});

}  // namespace
