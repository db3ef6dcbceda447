// The digital files for "q745ctl inspect" ("DWave.dat", ".gdw", "DMacros.dat", ".gma") and
// "q745ctl digital expand", which runs the running-macro queue of a ".gdw" without a window.
#include <functional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "core/ByteStream.h"
#include "Command.h"
#include "core/FileStore.h"
#include "Json.h"
#include "core/ProgressReporter.h"
#include "core/UserError.h"
#include "core/UserMessages.h"
#include "digital/DigitalStepper.h"
#include "digital/IntegerText.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"
#include "digital/MacroValueDialog.h"
#include "digital/MainWaveFile.h"
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

void writeWaveFields(JsonWriter& json, const TDigitalWave& wave) {
    json.field("length", wave.length());
    json.field("capacity", wave.capacity());
    json.field("signalCount", wave.signalCount);
    json.key("signals").beginArray();
    for (const TSignal& signal : wave.usedSignals()) {
        json.beginObject();
        json.field("name", signal.name);
        json.field("width", static_cast<int>(signal.width));
        json.field("kind", static_cast<int>(signal.kind));
        json.field("clockBit", signal.clockBit);
        json.field("counter", signal.counter);
        json.key("pins").beginArray();
        for (const PinEntry& pin : signal.usedPins()) {
            json.beginObject();
            json.field("mask", static_cast<int>(pin.mask));
            json.field("shift", static_cast<int>(pin.shift));
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.key("steps").beginArray();
    for (std::uint16_t word : wave.words())
        json.value(static_cast<int>(word));
    json.endArray();
}

void writeMacroFields(JsonWriter& json, const TDigitalMacro& macro) {
    json.field("name", macro.name);
    json.field("description", macro.description);
    json.key("targetMap").beginArray();
    for (std::int8_t target : macro.targetMap)
        json.value(static_cast<int>(target));
    json.endArray();
    json.field("position", macro.position);
    json.field("remaining", macro.remaining);
    json.field("cycles", macro.cycles);
    json.field("value", macro.value);
    json.field("valueSource", static_cast<int>(macro.valueSource));
    json.field("fileOffset", macro.fileOffset);
    json.field("valueWidth", static_cast<int>(macro.valueWidth));
    json.key("bindings").beginArray();
    for (const MacroBinding& binding : macro.bindings) {
        json.beginObject();
        json.field("bit", binding.bit);
        json.field("invert", static_cast<int>(binding.invert));
        json.field("signal", binding.signal);
        json.field("step", binding.step);
        json.endObject();
    }
    json.endArray();
    json.key("wave").beginObject();
    writeWaveFields(json, macro.wave);
    json.endObject();
}

void writeMacroList(JsonWriter& json, std::string_view name, const MacroQueue& macros) {
    json.key(name).beginArray();
    for (const TDigitalMacro& macro : macros) {
        json.beginObject();
        writeMacroFields(json, macro);
        json.endObject();
    }
    json.endArray();
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
                              std::function<void(Content, JsonWriter&)> writeFields) {
    return FileInspector{
        kind, kTaggedFilePriority,
        [tag](const std::filesystem::path&, Content content) { return beginsWith(content, tag); },
        [kind, writeFields](const std::filesystem::path& path, Content content, bool,
                            std::ostream& out) {
            std::ostringstream text;
            JsonWriter json(text);
            json.beginObject().field("kind", kind);
            readOrRefuse(path, [&] { writeFields(content, json); });
            json.endObject();
            out << text.str();
        }};
}

const CommandRegistration mainWaveInspector(taggedInspector("main digital wave",
                                                            "Main digital wave file",
                                                            [](Content content, JsonWriter& json) {
                                                                TDigitalWave wave;
                                                                decodeMainWave(content, wave);
                                                                writeWaveFields(json, wave);
                                                            }));

const CommandRegistration waveFileInspector(
    taggedInspector("digital wave", "Digital wave", [](Content content, JsonWriter& json) {
        TDigitalWave wave;
        MacroQueue running;
        decodeWaveFile(content, wave, running);
        writeWaveFields(json, wave);
        writeMacroList(json, "runningMacros", running);
    }));

const CommandRegistration libraryInspector(taggedInspector("macro library", "Digital macros file",
                                                           [](Content content, JsonWriter& json) {
                                                               MacroLibrary library;
                                                               decodeLibrary(content, library);
                                                               writeMacroList(json, "macros",
                                                                              library);
                                                           }));

const CommandRegistration macroInspector(taggedInspector("macro", "Macro",
                                                         [](Content content, JsonWriter& json) {
                                                             writeMacroFields(
                                                                 json, decodeMacroFile(content));
                                                         }));

// The engine's questions (a missing or too short value file) are answered Yes, and every
// message is printed as a warning.
class ConsoleMessages final : public UserMessages {
public:
    explicit ConsoleMessages(std::ostream& err) : err_(err) {}
    MessageResult messageBox(const std::string& text, MessageKind,
                             MessageButtons buttons) override {
        std::string line = text;
        for (std::size_t at = line.find("\r\n"); at != std::string::npos;
             at = line.find("\r\n", at))
            line.replace(at, 2, " ");
        err_ << "warning: " << line << '\n';
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

constexpr const char* kExpandUsage =
    "Usage: q745ctl digital expand IN.gdw (--steps N | --finish) -o OUT.gdw";

int expand(CommandContext& context, ArgumentList arguments) {
    const std::optional<std::string> stepsText = arguments.option("--steps");
    const bool finish = arguments.flag("--finish");
    const std::optional<std::string> output = arguments.option("-o");
    const std::vector<std::string> files = arguments.positional();
    if (files.size() != 1 || !output || stepsText.has_value() == finish)
        throw std::invalid_argument(kExpandUsage);
    std::optional<std::int32_t> steps;
    if (stepsText) {
        steps = parseInteger32(*stepsText);
        if (!steps || *steps < 0) throw std::invalid_argument("Invalid step count: " + *stepsText);
    }

    const std::filesystem::path input = files.front();
    const std::optional<std::vector<std::uint8_t>> content = readWholeFile(input);
    if (!content) throw std::runtime_error("Nie je mozne otvorit subor: " + input.string());
    TDigitalWave wave;
    MacroQueue running;
    readOrRefuse(input, [&] { decodeWaveFile(*content, wave, running); });
    if (wave.signalCount == 0 && (finish ? !running.empty() : *steps > 0))
        throw std::runtime_error("The digital wave has no signals: no step can be appended.");

    const std::int32_t startLength = wave.length();
    std::int32_t cursor = startLength - 1;  // at the end, so that every step is appended
    ConsoleMessages messages(context.err);
    SilentProgress progress;
    NoValueDialog dialog;
    DigitalStepper stepper(wave, &running, cursor, messages, progress, &dialog);
    if (finish)
        stepper.finishMacroQueue();
    else
        stepper.takeSteps(*steps);

    if (!saveWaveFile(wave, running, *output, messages)) return 1;
    context.out << "Appended " << wave.length() - startLength << " steps; length " << wave.length()
                << ", running macros left " << running.size() << '\n';
    return 0;
}

int digital(CommandContext& context) {
    if (context.args.empty() || context.args.front() != "expand")
        throw std::invalid_argument(kExpandUsage);
    return expand(context, ArgumentList({context.args.begin() + 1, context.args.end()}));
}

const CommandRegistration digitalCommand(Command{
    "digital",
    "digital expand IN.gdw (--steps N | --finish) -o OUT.gdw\n"
    "                            append steps to a digital wave, filled by its running macros",
    digital});

}  // namespace
