// "q745ctl device": initialises the instrument through the driver library as the program does
// at start-up, shows what it answers (result code, instruments on the port, driver versions,
// oscillator, the virtual instrument's decoded state) and, with options, sets it up, so that a
// bench can be scripted. Exit code 0 when the instrument is ready.
#include <dlfcn.h>

#include <array>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "Command.h"
#include "OptionChecks.h"
#include "ToolJson.h"
#include "q745drv.h"

namespace {

const char* initMeaning(std::int32_t code) {
    switch (code) {
        case 1000:
            return "initialised and calibrated";
        case 999:
            return "initialised, but the calibration checksum does not match";
        case 1002:
            return "the programmable logic did not report a completed configuration";
        case 1010:
            return "the communication test failed in both port modes";
        case 1011:
            return "no instrument with model ID 0x30 answers at this device index";
        case 1012:
            return "the device lock cannot be created";
        case 1013:
            return "the port driver cannot be opened";
        default:
            return "unknown result";
    }
}

const char* interfaceMeaning(std::int32_t code) {
    switch (code) {
        case 0:
            return "ready";
        case 1:
            return "the USB library is missing";
        case 2:
            return "the USB instrument is not ready";
        default:
            return "unknown result";
    }
}

// The shortest text that reads back as the same float, without an exponent.
std::string number(float value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// A driver call made on the user's request, and its result as JSON number text.
struct Call {
    std::string call;
    std::string result;
};

// What the options ask for; each pair is (channel, code or choice).
struct DeviceOptions {
    bool usb = false;
    int index = 0;
    bool json = false;
    bool points = false;
    float frequency = 0;
    std::pair<int, int> level;
    std::pair<int, int> shift;
    std::pair<int, int> output;  // 0 off, 1 normal, 2 -20 dB
    std::pair<int, int> filter;  // 0 low, 1 high, 2 off
    int generator = 0;
    int digitalOutputs = 0;
};

// The highest sample clock of the instrument: the synthesiser's oscillator.
constexpr double kHighestFrequency = 50000000;

std::string channelCall(const char* name, int channel, int value) {
    return std::string(name) + "(" + std::to_string(channel) + ", " + std::to_string(value) + ")";
}

// The instrument settings the given options ask for, made in a fixed order after
// initialisation.
std::vector<std::function<Call()>> requestedSettings(const DeviceOptions& options,
                                                     const std::set<std::string>& given) {
    std::vector<std::function<Call()>> settings;
    if (given.contains("--frequency")) {
        const float hertz = options.frequency;
        settings.push_back([hertz] {
            return Call{"SetFrequency(" + number(hertz) + ")", number(SetFrequency(hertz))};
        });
    }
    using Setter = std::int32_t (*)(std::int32_t, std::int32_t);
    const auto channelCode = [&](const char* option, const char* name, Setter setter,
                                 std::pair<int, int> code) {
        if (!given.contains(option)) return;
        settings.push_back([=] {
            return Call{channelCall(name, code.first, code.second),
                        std::to_string(setter(code.first, code.second))};
        });
    };
    channelCode("--level", "SetLevel", SetLevel, options.level);
    channelCode("--shift", "SetShift", SetShift, options.shift);
    if (given.contains("--output")) {
        const auto [channel, state] = options.output;
        settings.push_back([channel, state] {
            if (state == 0)
                return Call{channelCall("SetChannelOn", channel, 0),
                            std::to_string(SetChannelOn(channel, 0))};
            SetChannelOn(channel, 1);
            const int normal = state == 1 ? 1 : 0;
            return Call{channelCall("SetOutput", channel, normal),
                        std::to_string(SetOutput(channel, normal))};
        });
    }
    channelCode("--filter", "SetFilter", SetFilter, options.filter);
    const auto onOff = [&](const char* option, const char* name,
                           std::int32_t (*setter)(std::int32_t), int on) {
        if (!given.contains(option)) return;
        settings.push_back([=] {
            return Call{std::string(name) + "(" + std::to_string(on) + ")",
                        std::to_string(setter(on))};
        });
    };
    onOff("--generator", "SetGeneratorOn", SetGeneratorOn, options.generator);
    onOff("--digital-outputs", "SetDigitalOutputOn", SetDigitalOutputOn, options.digitalOutputs);
    return settings;
}

// The decoded state from the virtual instrument's stand-in, when the loaded port driver or USB
// library is one; empty otherwise.
std::string virtualInstrumentState(bool usb, bool withPoints) {
    const char* variable = usb ? "Q745_USB_LIBRARY" : "Q745_PORT_DRIVER";
    const char* name = std::getenv(variable);
    if (name == nullptr || *name == '\0') name = usb ? "libkelvousb.so" : "libkelvoepb.so";
    void* library = ::dlopen(name, RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr) return {};
    using StateFunction = const char*();
    auto* state = reinterpret_cast<StateFunction*>(
        ::dlsym(library, withPoints ? "Q745VirtualInstrumentStateWithPoints"
                                    : "Q745VirtualInstrumentState"));
    std::string text = state != nullptr ? state() : "";
    ::dlclose(library);
    return text;
}

struct Version {
    std::uint8_t result;
    std::array<std::uint8_t, 2> version{};
    std::string text() const {
        if (result == 3) return "missing";
        const std::string minor = std::to_string(version[1]);
        return std::to_string(version[0]) + "." + (minor.size() < 2 ? "0" : "") + minor;
    }
};

int device(const DeviceOptions& options, const std::set<std::string>& given,
           CommandStreams& streams) {
    const bool usb = options.usb;
    const int index = options.index;
    std::vector<std::function<Call()>> settings = requestedSettings(options, given);

    const std::int32_t interfaceResult = SetInterface(usb ? 1 : 0);
    const std::int32_t initResult =
        interfaceResult == 0 ? InitHardware(static_cast<std::int32_t>(index)) : 0;
    std::array<std::uint8_t, 16> devices{};
    const std::int32_t listResult = GetAllDevices(devices.data());
    Version port{0};
    port.result = GetDriverVersion(0, port.version.data());
    Version usbLibrary{0};
    usbLibrary.result = GetDriverVersion(1, usbLibrary.version.data());
    const float oscillator = GetOscillatorFrequency();
    const bool ready = initResult == 1000 || initResult == 999;
    std::vector<Call> calls;
    if (ready) {
        for (const auto& setting : settings)
            calls.push_back(setting());
    }
    const std::string state = virtualInstrumentState(usb, options.points);

    std::ostream& out = streams.out;
    if (options.json) {
        Json json;
        json["interface"] = usb ? "usb" : "parallel";
        json["deviceIndex"] = index;
        json["setInterface"] = {{"result", interfaceResult},
                                {"meaning", interfaceMeaning(interfaceResult)}};
        if (interfaceResult == 0)
            json["initHardware"] = {{"result", initResult}, {"meaning", initMeaning(initResult)}};
        json["getAllDevices"] = {{"result", listResult}, {"modelIds", devices}};
        json["portDriver"] = port.text();
        json["usbLibrary"] = usbLibrary.text();
        json["oscillatorHz"] = static_cast<double>(oscillator);
        json["calls"] = Json::array();
        for (const Call& call : calls)
            json["calls"].push_back({{"call", call.call}, {"result", Json::parse(call.result)}});
        json["virtualInstrument"] = state.empty() ? Json() : Json::parse(state);
        printJson(out, json);
        return ready ? 0 : 1;
    }

    out << "Interface: " << (usb ? "USB" : "parallel port") << '\n';
    out << "SetInterface(" << (usb ? 1 : 0) << "): " << interfaceResult << ' '
        << interfaceMeaning(interfaceResult) << '\n';
    if (interfaceResult == 0)
        out << "InitHardware(" << index << "): " << initResult << ' ' << initMeaning(initResult)
            << '\n';
    out << "GetAllDevices: " << listResult << '\n';
    int found = 0;
    for (std::size_t k = 0; k < devices.size(); ++k) {
        if (devices[k] == 0) continue;
        ++found;
        char id[8];
        std::snprintf(id, sizeof id, "0x%02X", devices[k]);
        out << "  device index " << k << ": model ID " << id << '\n';
    }
    if (found == 0) out << "  no instrument answers\n";
    out << "Port driver: " << port.text() << "\nUSB library: " << usbLibrary.text() << '\n';
    out << "Oscillator: " << number(oscillator) << " Hz\n";
    for (const Call& call : calls)
        out << call.call << ": " << call.result << '\n';
    if (!state.empty()) out << "Virtual instrument:\n" << state << '\n';
    return ready ? 0 : 1;
}

void define(CLI::App& tool, CommandSet& commands) {
    auto options = std::make_shared<DeviceOptions>();
    CLI::App* command =
        tool.add_subcommand("device", "initialise the instrument and show what it answers");
    command->add_flag("--usb", options->usb, "the instrument on USB (default: the parallel port)");
    command->add_option("--index", options->index, "the device index on the parallel port")
        ->type_name("N")
        ->transform(wholeNumber("Device index", 0, 15));
    command->add_flag("--json", options->json, "print one JSON object");
    command->add_flag("--points", options->points, "add each channel's played points");
    command->add_option("--frequency", options->frequency, "the sample clock")
        ->type_name("HZ")
        ->transform(decimalNumber("Frequency in Hz", 0, kHighestFrequency));
    command->add_option("--level", options->level, "a channel's level code")
        ->option_text("A|B CODE")
        ->transform(channel().application_index(0))
        ->transform(wholeNumber("Level code", 0, 4096).application_index(1));
    command->add_option("--shift", options->shift, "a channel's shift code (2048 = 0 V)")
        ->option_text("A|B CODE")
        ->transform(channel().application_index(0))
        ->transform(wholeNumber("Shift code", 0, 4096).application_index(1));
    command->add_option("--output", options->output, "a channel's output")
        ->option_text("A|B off|normal|-20dB")
        ->transform(channel().application_index(0))
        ->transform(choice("Output", {{"off"}, {"normal"}, {"-20dB"}}).application_index(1));
    command->add_option("--filter", options->filter, "a channel's output filter")
        ->option_text("A|B low|high|off")
        ->transform(channel().application_index(0))
        ->transform(choice("Filter", {{"low"}, {"high"}, {"off"}}).application_index(1));
    command->add_option("--generator", options->generator, "start or stop the generator")
        ->type_name("on|off")
        ->transform(choice("--generator", {{"off"}, {"on"}}));
    command
        ->add_option("--digital-outputs", options->digitalOutputs,
                     "switch the digital outputs on or off")
        ->type_name("on|off")
        ->transform(choice("--digital-outputs", {{"off"}, {"on"}}));
    commands.setRun(command, [options, command](CommandStreams& streams) {
        std::set<std::string> given;
        for (const CLI::Option* option : command->get_options())
            if (option->count() > 0) given.insert(option->get_name());
        return device(*options, given, streams);
    });
}

const CommandRegistration registration(Command{70, define});

}  // namespace
