// "q745ctl device": initialises the instrument through the driver library as the program does
// at start-up, shows what it answers (result code, instruments on the port, driver versions,
// oscillator, the virtual instrument's decoded state) and, with options, sets it up, so that a
// bench can be scripted. Exit code 0 when the instrument is ready.
#include <dlfcn.h>

#include <array>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Command.h"
#include "Json.h"
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

long parseInteger(const std::string& text, const std::string& what) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument(what + " must be a whole number: " + text);
    return value;
}

int parseChannel(const std::string& text) {
    if (text == "A" || text == "a" || text == "0") return 0;
    if (text == "B" || text == "b" || text == "1") return 1;
    throw std::invalid_argument("Channel must be A or B: " + text);
}

int parseChoice(const std::string& text, const std::vector<std::string>& choices,
                const std::string& what) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (text == choices[i]) return static_cast<int>(i);
    }
    std::string list;
    for (const std::string& choice : choices)
        list += (list.empty() ? "" : ", ") + choice;
    throw std::invalid_argument(what + " must be one of " + list + ": " + text);
}

// A driver call made on the user's request, and its result as JSON number text.
struct Call {
    std::string call;
    std::string result;
};

// The instrument settings the options ask for, made in a fixed order after initialisation.
std::vector<std::function<Call()>> requestedSettings(ArgumentList& arguments) {
    std::vector<std::function<Call()>> settings;
    if (auto text = arguments.option("--frequency")) {
        float hertz = 0.0f;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), hertz);
        if (error != std::errc() || end != text->data() + text->size())
            throw std::invalid_argument("Frequency must be a number in Hz: " + *text);
        settings.push_back([hertz] {
            return Call{"SetFrequency(" + number(hertz) + ")", number(SetFrequency(hertz))};
        });
    }
    using Setter = std::int32_t (*)(std::int32_t, std::int32_t);
    const auto channelCode = [&](const char* option, const char* name, Setter setter) {
        if (auto pair = arguments.optionPair(option)) {
            const int channel = parseChannel(pair->first);
            const auto code = static_cast<std::int32_t>(parseInteger(pair->second, name));
            settings.push_back([=] {
                return Call{std::string(name) + "(" + std::to_string(channel) + ", " +
                                std::to_string(code) + ")",
                            std::to_string(setter(channel, code))};
            });
        }
    };
    channelCode("--level", "SetLevel", SetLevel);
    channelCode("--shift", "SetShift", SetShift);
    if (auto pair = arguments.optionPair("--output")) {
        const int channel = parseChannel(pair->first);
        const int state = parseChoice(pair->second, {"off", "normal", "-20dB"}, "Output");
        settings.push_back([=] {
            const std::string ch = std::to_string(channel);
            if (state == 0)
                return Call{"SetChannelOn(" + ch + ", 0)",
                            std::to_string(SetChannelOn(channel, 0))};
            SetChannelOn(channel, 1);
            const int normal = state == 1 ? 1 : 0;
            return Call{"SetOutput(" + ch + ", " + std::to_string(normal) + ")",
                        std::to_string(SetOutput(channel, normal))};
        });
    }
    if (auto pair = arguments.optionPair("--filter")) {
        const int channel = parseChannel(pair->first);
        const int filter = parseChoice(pair->second, {"low", "high", "off"}, "Filter");
        settings.push_back([=] {
            return Call{
                "SetFilter(" + std::to_string(channel) + ", " + std::to_string(filter) + ")",
                std::to_string(SetFilter(channel, filter))};
        });
    }
    const auto onOff = [&](const char* option, const char* name,
                           std::int32_t (*setter)(std::int32_t)) {
        if (auto text = arguments.option(option)) {
            const int on = parseChoice(*text, {"off", "on"}, option);
            settings.push_back([=] {
                return Call{std::string(name) + "(" + std::to_string(on) + ")",
                            std::to_string(setter(on))};
            });
        }
    };
    onOff("--generator", "SetGeneratorOn", SetGeneratorOn);
    onOff("--digital-outputs", "SetDigitalOutputOn", SetDigitalOutputOn);
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

int device(CommandContext& context) {
    ArgumentList arguments(context.args);
    const bool usb = arguments.flag("--usb");
    const bool json = arguments.flag("--json");
    const bool points = arguments.flag("--points");
    long index = 0;
    if (auto text = arguments.option("--index")) {
        index = parseInteger(*text, "Device index");
        if (index < 0 || index > 15)
            throw std::invalid_argument("Device index must be 0 to 15: " + *text);
    }
    std::vector<std::function<Call()>> settings = requestedSettings(arguments);
    if (!arguments.positional().empty())
        throw std::invalid_argument("Unexpected argument: " + arguments.positional().front());

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
    const std::string state = virtualInstrumentState(usb, points);

    std::ostream& out = context.out;
    if (json) {
        JsonWriter writer(out);
        writer.beginObject().field("interface", usb ? "usb" : "parallel");
        writer.field("deviceIndex", static_cast<std::int64_t>(index));
        writer.key("setInterface").beginObject().field("result", interfaceResult);
        writer.field("meaning", interfaceMeaning(interfaceResult)).endObject();
        if (interfaceResult == 0) {
            writer.key("initHardware").beginObject().field("result", initResult);
            writer.field("meaning", initMeaning(initResult)).endObject();
        }
        writer.key("getAllDevices").beginObject().field("result", listResult);
        writer.key("modelIds").bytes(devices).endObject();
        writer.field("portDriver", port.text()).field("usbLibrary", usbLibrary.text());
        writer.field("oscillatorHz", static_cast<double>(oscillator));
        writer.key("calls").beginArray();
        for (const Call& call : calls) {
            writer.beginObject().field("call", call.call).key("result").raw(call.result);
            writer.endObject();
        }
        writer.endArray();
        writer.key("virtualInstrument");
        if (state.empty())
            writer.null();
        else
            writer.raw(state);
        writer.endObject();
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

const CommandRegistration registration(Command{
    "device",
    "device [--usb] [--index N] [--json] [--points] [--frequency HZ] [--level A|B CODE]\n"
    "         [--shift A|B CODE] [--output A|B off|normal|-20dB] [--filter A|B low|high|off]\n"
    "         [--generator on|off] [--digital-outputs on|off]\n"
    "                             initialise the instrument and show what it answers",
    device});

}  // namespace
