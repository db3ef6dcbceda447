#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/OperatingMode.h"

class DriverApi;
class PrinterSharing;
class TVirtualDriverFeedbackForm;
class UserMessages;
struct DeviceSettings;

// The application's only path to the driver library. Every operation waits while a print job
// holds the shared port, does nothing in demo mode or while suspended, does nothing when the
// value equals the last one it sent, writes a line to the device log and calls the driver.
// Channels: 0 = A, 1 = B.
class VirtualDriver {
public:
    VirtualDriver(DriverApi& driver, DeviceSettings& settings, const CurrentModeSource& mode,
                  UserMessages& messages, PrinterSharing& printer, bool debugMode);
    ~VirtualDriver();
    VirtualDriver(const VirtualDriver&) = delete;
    VirtualDriver& operator=(const VirtualDriver&) = delete;

    // Opens the instrument with the configured settings, asking the operator what to do when it
    // does not answer (retry, search the other addresses and interfaces, or go on without it).
    // Creates the log window. Returns the result code of the last InitHardware.
    std::int32_t InitDevice();
    static std::string InterfaceName(std::int32_t interfaceKind);
    // Tells the operator when the port driver or USB library is missing or too old.
    void CheckDriverVersion(std::int32_t interfaceKind);

    // digital: 0 analog (octave mode), 1 the tick frequency of digital and import mode.
    // Returns the frequency the instrument produces (f itself when nothing was sent).
    double SendFrequency(std::int32_t digital, double f);
    // Keeps the channel-B multiplier. With queue set, channel-B uploads are deferred until the
    // log window's timer expires. Returns 1 when the caller should load channel B now.
    std::int32_t SendMultiplier(std::int32_t m, bool queue);
    // An analog waveform (octave set, 16384 points) in analog mode, or raw points in import
    // mode; phase in points, used for channel B only.
    void SendWave(std::int32_t channel, std::span<const std::uint8_t> points, std::int32_t phase);
    // A digital sequence: the low bytes of the step words go to channel A, the high bytes to B.
    void SendWave(std::span<const std::uint16_t> words);
    // Uploads the deferred channel-B waveform (the timer's expiry).
    void FlushQueuedWave();
    // Keeps phase; when it changed, reloads channel B with points. Returns the kept phase.
    std::int32_t SendPhase(std::span<const std::uint8_t> points, std::int32_t phase);
    void SendShift(std::int32_t channel, std::int32_t code);
    void SendLevel(std::int32_t channel, std::int32_t code);
    void SendFilter(std::int32_t channel, std::int32_t filter);
    void SendExternalLevel(std::int32_t channel, std::int32_t v);
    // 0 off, 1 normal, 2 -20 dB.
    void SendOutputState(std::int32_t channel, std::int32_t state);
    void SendDigitalOutputs(std::int32_t v);
    void SendDigitalVoltage(std::int32_t v);
    void SendGeneratorOn(std::int32_t v);
    void SendTriggerMode(std::int32_t v);
    void SendTriggerEdge(std::int32_t v);
    void SendTriggerStyle(std::int32_t v);
    // Hz; 50000000 when nothing is read.
    double ReadOscillator();

    bool demoMode() const { return demoMode_; }
    bool suspended() const { return suspended_; }
    void setSuspended(bool suspended) { suspended_ = suspended; }
    // 0 parallel, 1 USB: the configured interface as it stood when InitDevice ran.
    std::int32_t interfaceInUse() const { return interfaceInUse_; }
    // Abort was chosen at start-up: the program ends when it reaches its message loop.
    bool terminateRequested() const { return terminateRequested_; }
    // 0 idle, 1 deferral armed, 2 a channel-B waveform is queued.
    int waveQueueState() const { return waveQueueState_; }
    // The log window, from InitDevice on.
    TVirtualDriverFeedbackForm* feedbackForm() const { return feedback_.get(); }

private:
    // The last value each operation sent; -1 (and the odd starts) mean "nothing sent yet".
    struct SentValues {
        double frequency = -1.0;
        double frequencyResult = -1.0;
        std::int32_t frequencyDigital = -1;
        std::int32_t multiplier = -1;
        std::int32_t shift[2] = {-1, -1};
        std::int32_t level[2] = {-1, -1};
        std::int32_t filter[2] = {-1, -1};
        std::int32_t externalLevel[2] = {-1, -1};
        std::int32_t outputState[2] = {-1, -1};
        std::int32_t phaseB = 0xFFFFF;
        std::int32_t digitalOutputs = -1;
        std::int32_t digitalVoltage = -1;
        std::int32_t triggerMode = -1;
        std::int32_t triggerEdge = -1;
        std::int32_t generatorOn = -1;
        std::int32_t triggerStyle = -100;
    };

    // Steps 1 and 2 of every operation: true when the driver must not be called.
    bool skipped();
    // The common steps of a plain setting: true when value must be sent (it is then kept).
    bool sendsChange(std::int32_t& kept, std::int32_t value);
    void log(const std::string& text);
    // An InitHardware result: a calibration checksum mismatch is told to the operator and
    // counts as initialised, as the instrument works with the calibration it had.
    std::int32_t acceptCalibration(std::int32_t result);
    // The device search over USB and then the parallel port; true when a device was accepted.
    bool searchDevices(std::int32_t& acceptedIndex);
    void uploadWave(std::int32_t channel, std::span<const std::uint8_t> points, std::int32_t phase);
    void cancelQueue();

    DriverApi& driver_;
    DeviceSettings& settings_;
    const CurrentModeSource& mode_;
    UserMessages& messages_;
    PrinterSharing& printer_;
    bool debugMode_;

    bool demoMode_ = true;  // nothing is sent before InitDevice
    bool suspended_ = false;
    bool terminateRequested_ = false;
    std::int32_t interfaceInUse_ = 0;
    SentValues sent_;
    int waveQueueState_ = 0;
    std::vector<std::uint8_t> queuedWave_;
    std::int32_t queuedPhase_ = 0;
    std::unique_ptr<TVirtualDriverFeedbackForm> feedback_;
};
