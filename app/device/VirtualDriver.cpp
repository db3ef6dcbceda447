#include "device/VirtualDriver.h"

#include <algorithm>
#include <array>

#include "core/UnitFormat.h"
#include "core/UserMessages.h"
#include "device/DeviceSettings.h"
#include "device/DriverApi.h"
#include "device/PrinterSharing.h"
#include "device/VirtualDriverFeedbackScreen.h"

namespace {

constexpr std::uint8_t Q745ModelId = 0x30;
constexpr std::int32_t DeviceListSize = 16;
constexpr std::size_t AnalogWavePoints = 16384;
constexpr std::size_t MaximumRawLength = 262144;
constexpr double OscillatorWhenNotRead = 50000000.0;
constexpr std::int32_t InterfaceParallel = 0;
constexpr std::int32_t InterfaceUsb = 1;

// The driver takes 0 as channel A and any other value as B.
std::size_t side(std::int32_t channel) {
    return channel == 0 ? 0 : 1;
}

std::string number(std::int32_t value) {
    return std::to_string(value);
}

std::string initResultText(std::int32_t result) {
    switch (result) {
        case initresult::Initialized:
            return "Hardware initialized";
        case initresult::FpgaBurnProblem:
            return "FPGA burn problem";
        case initresult::CommunicationProblem:
            return "Communication problem";
        case initresult::DeviceNotPresent:
            return "Device is not present";
        case initresult::PortControlProblem:
            return "Port control problem";
        default:
            return "Unknown problem";
    }
}

bool versionBelow(const std::array<std::uint8_t, 2>& version, int major, int minor) {
    return version[0] < major || (version[0] == major && version[1] < minor);
}

}  // namespace

VirtualDriver::VirtualDriver(DriverApi& driver, DeviceSettings& settings,
                             const CurrentModeSource& mode, UserMessages& messages,
                             PrinterSharing& printer, bool debugMode)
    : driver_(driver),
      settings_(settings),
      mode_(mode),
      messages_(messages),
      printer_(printer),
      debugMode_(debugMode) {}

VirtualDriver::~VirtualDriver() = default;

std::string VirtualDriver::InterfaceName(std::int32_t interfaceKind) {
    return interfaceKind == InterfaceUsb ? "USB" : "parallel";
}

bool VirtualDriver::skipped() {
    printer_.WaitForPrinter();
    return demoMode_ || suspended_;
}

void VirtualDriver::log(const std::string& text) {
    if (feedback_) feedback_->LogLine(text);
}

// ---- initialisation -------------------------------------------------------------------------

std::int32_t VirtualDriver::InitDevice() {
    printer_.resetPrinterWaitShown();
    printer_.WaitForPrinter();

    feedback_ = std::make_unique<TVirtualDriverFeedbackForm>(debugMode_);
    feedback_->setFlushHandler([this] { FlushQueuedWave(); });
    if (debugMode_) feedback_->show();

    driver_.SetPrinterBase(settings_.portAddress);

    std::int32_t result = 0;
    MessageResult answer = MessageResult::No;
    while (true) {
        const std::int32_t interfaceKind = settings_.useUsb ? InterfaceUsb : InterfaceParallel;
        if (driver_.SetInterface(interfaceKind) != 0)
            result = initresult::DeviceNotPresent;
        else
            result = driver_.InitHardware(settings_.baseAddressIndex);
        CheckDriverVersion(interfaceKind);
        result = acceptCalibration(result);
        if (result == initresult::Initialized) break;
        answer = messages_.messageBox(
            "Pristroj sa nenachadza na bazovej adrese " + number(settings_.baseAddressIndex) +
                " (" + InterfaceName(interfaceKind) + ").\r\n" +
                "Chcete, aby program hladal Q745 na ostatnych bazovych adresach alebo aby este "
                "raz skusil pritomnost pristroja na nastavenej adrese ?",
            MessageKind::Error, MessageButtons::YesNoAbortRetry);
        if (answer != MessageResult::Retry) break;
    }

    if (answer == MessageResult::Abort) terminateRequested_ = true;
    std::int32_t acceptedIndex = 0;
    const bool accepted = answer == MessageResult::Yes && result != initresult::Initialized &&
                          searchDevices(acceptedIndex);

    interfaceInUse_ = settings_.useUsb ? InterfaceUsb : InterfaceParallel;
    if (accepted) result = acceptCalibration(driver_.InitHardware(acceptedIndex));
    demoMode_ = result != initresult::Initialized;

    sent_ = SentValues{};
    cancelQueue();
    log(initResultText(result));
    return result;
}

std::int32_t VirtualDriver::acceptCalibration(std::int32_t result) {
    if (result != initresult::CalibrationCorrupt) return result;
    messages_.error("Kalibracne data v pristroji su poskodene. Kontaktujte firmu Kelvo, prosim.");
    return initresult::Initialized;
}

bool VirtualDriver::searchDevices(std::int32_t& acceptedIndex) {
    for (std::int32_t interfaceKind : {InterfaceUsb, InterfaceParallel}) {
        if (driver_.SetInterface(interfaceKind) != 0) continue;
        std::array<std::uint8_t, DeviceListSize> list{};
        driver_.GetAllDevices(list.data());
        for (std::int32_t k = 0; k < DeviceListSize; ++k) {
            if (list[static_cast<std::size_t>(k)] != Q745ModelId) continue;
            CheckDriverVersion(interfaceKind);
            const bool accept = messages_.ask("Pristroj najdeny na bazovej adrese " + number(k) +
                                              " (" + InterfaceName(interfaceKind) + ").\r\n" +
                                              "Chcete nastavit tuto bazovu adresu ?");
            if (accept) {
                settings_.baseAddressIndex = k;
                settings_.useUsb = interfaceKind == InterfaceUsb;
                acceptedIndex = k;
                return true;
            }
        }
    }
    messages_.error("Ziadne vhodne pristroje neboli najdene");
    return false;
}

void VirtualDriver::CheckDriverVersion(std::int32_t interfaceKind) {
    std::array<std::uint8_t, 2> version{};
    switch (driver_.GetDriverVersion(interfaceKind, version.data())) {
        case 1:
            if (versionBelow(version, 2, 2))
                messages_.information(
                    "Nainstalujte, prosim, novu verziu ovladacov KelvoEpb z nasej web stranky, "
                    "inak moze dojst k chybam pri cinnosti programu.");
            break;
        case 2:
            if (versionBelow(version, 1, 1))
                messages_.information(
                    "Nainstalujte, prosim, novu verziu ovladacov KelvoUsb z nasej web stranky, "
                    "inak moze dojst k chybam pri cinnosti programu.");
            break;
        case 3:
            if (interfaceKind == InterfaceUsb)
                messages_.information(
                    "Ovladace KelvoUsb chybaju.\r\nAk chcete pripojit zariadenie cez USB, je ich "
                    "nutne nainstalovat.\r\nNachadzaju sa na instalacnom CD a na nasej web "
                    "stranke.");
            else
                messages_.information(
                    "Ovladace KelvoEpb chybaju.\r\nAk chcete pripojit zariadenie cez paralelny "
                    "port, je ich nutne nainstalovat.\r\nNachadzaju sa na instalacnom CD a na "
                    "nasej web stranke.");
            break;
        default:
            break;
    }
}

// ---- frequency and waveforms ----------------------------------------------------------------

double VirtualDriver::SendFrequency(std::int32_t digital, double f) {
    if (skipped()) return f;
    if (f == sent_.frequency && digital == sent_.frequencyDigital) return sent_.frequencyResult;
    log("Frequency set to:" + plainNumberText(f) + "; Digital:" + number(digital));
    const double result = driver_.SetFrequency(static_cast<float>(f));
    sent_.frequency = f;
    sent_.frequencyDigital = digital;
    sent_.frequencyResult = result;
    return result;
}

std::int32_t VirtualDriver::SendMultiplier(std::int32_t m, bool queue) {
    const bool changed = m != sent_.multiplier;
    // Kept even when nothing is sent: the next channel-B upload uses it as its step.
    sent_.multiplier = m;
    if (skipped() || !changed) return 0;
    log("Frequency multiplier set to " + number(m));
    std::int32_t result = 1;
    if (queue) {
        if (feedback_) feedback_->restartFreqTimer();
        if (waveQueueState_ == 0) waveQueueState_ = 1;
        result = waveQueueState_ == 2 ? 0 : 1;
    }
    return result;
}

void VirtualDriver::SendWave(std::int32_t channel, std::span<const std::uint8_t> points,
                             std::int32_t phase) {
    if (skipped()) return;
    if (channel == 0) phase = 0;
    if (waveQueueState_ == 2 && channel == 1) cancelQueue();
    // Only channel B is deferred; an upload for A while the deferral is armed goes out at once
    // instead of being played on B later.
    if (waveQueueState_ == 1 && channel == 1) {
        waveQueueState_ = 2;
        queuedWave_.assign(points.begin(), points.end());
        queuedPhase_ = phase;
        return;
    }
    uploadWave(channel, points, phase);
}

void VirtualDriver::SendWave(std::span<const std::uint16_t> words) {
    if (skipped()) return;
    if (waveQueueState_ == 2) cancelQueue();
    log("Waveform set to channel 0 16-bit:1 Phase:0");
    if (words.empty() || words.size() > MaximumRawLength) {
        log("ERROR: Wave not loaded (" + std::to_string(words.size()) + " steps)");
        return;
    }
    std::vector<std::uint8_t> low(words.size());
    std::vector<std::uint8_t> high(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        low[i] = static_cast<std::uint8_t>(words[i] & 0xFF);
        high[i] = static_cast<std::uint8_t>(words[i] >> 8);
    }
    const auto length = static_cast<std::int32_t>(words.size());
    driver_.SetWaveForm(low.data(), 0, length, 0, 1);
    driver_.SetWaveForm(high.data(), 1, length, 0, 1);
    // The raw upload leaves octave mode, in which a frequency sent before it set another sample
    // clock: the next frequency request goes out whatever it is.
    sent_.frequencyDigital = -1;
}

void VirtualDriver::FlushQueuedWave() {
    if (skipped()) return;
    if (waveQueueState_ != 2) {
        log("ERROR: Wave not queued");
        waveQueueState_ = 0;
        return;
    }
    waveQueueState_ = 0;
    const std::vector<std::uint8_t> wave = std::move(queuedWave_);
    queuedWave_.clear();
    uploadWave(1, wave, queuedPhase_);
}

std::int32_t VirtualDriver::SendPhase(std::span<const std::uint8_t> points, std::int32_t phase) {
    const bool changed = phase != sent_.phaseB;
    sent_.phaseB = phase;
    if (!skipped() && changed) SendWave(1, points, phase);
    return sent_.phaseB;
}

void VirtualDriver::uploadWave(std::int32_t channel, std::span<const std::uint8_t> points,
                               std::int32_t phase) {
    log("Waveform set to channel " + number(channel) + " 16-bit:0 Phase:" + number(phase));
    const int mode = mode_.currentMode();
    if (mode == ModeAnalog) {
        // An octave set is always built from exactly one 16384-point period; an empty slot
        // has nothing to build it from.
        if (points.size() != AnalogWavePoints) {
            log("ERROR: Wave not loaded (" + std::to_string(points.size()) + " points)");
            return;
        }
        const std::int32_t step = channel == 1 ? std::max(sent_.multiplier, 1) : 1;
        driver_.SetWaveForm(points.data(), channel, -1, phase, step);
    } else if (mode == ModeImport) {
        if (points.empty() || points.size() > MaximumRawLength) {
            log("ERROR: Wave not loaded (" + std::to_string(points.size()) + " points)");
            return;
        }
        driver_.SetWaveForm(points.data(), channel, static_cast<std::int32_t>(points.size()), 0, 1);
    }
}

void VirtualDriver::cancelQueue() {
    waveQueueState_ = 0;
    queuedWave_.clear();
}

// ---- analog outputs, trigger and digital outputs -------------------------------------------

bool VirtualDriver::sendsChange(std::int32_t& kept, std::int32_t value) {
    if (skipped() || value == kept) return false;
    kept = value;
    return true;
}

void VirtualDriver::SendShift(std::int32_t channel, std::int32_t code) {
    if (!sendsChange(sent_.shift[side(channel)], code)) return;
    log("Shift on channel " + number(channel) + " set to " + number(code));
    driver_.SetShift(channel, code);
}

void VirtualDriver::SendLevel(std::int32_t channel, std::int32_t code) {
    if (!sendsChange(sent_.level[side(channel)], code)) return;
    log("Level on channel " + number(channel) + " set to " + number(code));
    driver_.SetLevel(channel, code);
}

void VirtualDriver::SendFilter(std::int32_t channel, std::int32_t filter) {
    if (!sendsChange(sent_.filter[side(channel)], filter)) return;
    static constexpr const char* names[] = {"Low", "High", "Off"};
    const std::string name = filter >= 0 && filter <= 2 ? names[filter] : number(filter);
    log("Filter on channel " + number(channel) + " " + name);
    driver_.SetFilter(channel, filter);
}

void VirtualDriver::SendExternalLevel(std::int32_t channel, std::int32_t v) {
    const std::int32_t value = v & 127;
    if (!sendsChange(sent_.externalLevel[side(channel)], value)) return;
    log("External level set:" + number(value));
    driver_.SetExternalLevel(channel, value);
}

void VirtualDriver::SendOutputState(std::int32_t channel, std::int32_t state) {
    const std::int32_t old = sent_.outputState[side(channel)];
    if (!sendsChange(sent_.outputState[side(channel)], state)) return;
    static constexpr const char* names[] = {" off", " normal", " -20dB"};
    log("Output on channel " + number(channel) +
        (state >= 0 && state <= 2 ? names[state] : " " + number(state)));
    if (old == 0) driver_.SetChannelOn(channel, 1);
    if (state == 0)
        driver_.SetChannelOn(channel, 0);
    else if (state == 1)
        driver_.SetOutput(channel, 1);
    else if (state == 2)
        driver_.SetOutput(channel, 0);
}

void VirtualDriver::SendDigitalOutputs(std::int32_t v) {
    const std::int32_t value = v & 127;
    if (!sendsChange(sent_.digitalOutputs, value)) return;
    log("Digital outputs on:" + number(value));
    driver_.SetDigitalOutputOn(value);
}

void VirtualDriver::SendDigitalVoltage(std::int32_t v) {
    if (!sendsChange(sent_.digitalVoltage, v)) return;
    log("Digital voltage set to " + number(v));
    driver_.SetDigitalVoltage(v);
}

void VirtualDriver::SendGeneratorOn(std::int32_t v) {
    if (!sendsChange(sent_.generatorOn, v)) return;
    log("Generator OnOff: " + number(v));
    driver_.SetGeneratorOn(v);
}

void VirtualDriver::SendTriggerMode(std::int32_t v) {
    if (!sendsChange(sent_.triggerMode, v)) return;
    log("Trigger mode set to " + number(v));
    driver_.SetTriggerMode(v);
}

void VirtualDriver::SendTriggerEdge(std::int32_t v) {
    if (!sendsChange(sent_.triggerEdge, v)) return;
    log("Trigger edge set to " + number(v));
    driver_.SetTriggerEdge(v);
}

void VirtualDriver::SendTriggerStyle(std::int32_t v) {
    if (!sendsChange(sent_.triggerStyle, v)) return;
    log("Trigger style set to " + number(v));
    driver_.SetExternalTriggerUse(v);
}

double VirtualDriver::ReadOscillator() {
    if (skipped()) return OscillatorWhenNotRead;
    const double f = driver_.GetOscillatorFrequency();
    log("Oscillator frequency get: " + plainNumberText(f));
    return f;
}
