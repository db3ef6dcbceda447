#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "EventLog.h"
#include "LogJson.h"
#include "SharedBusMonitor.h"
#include "VirtualInstrument.h"
#include "VirtualParallelPort.h"
#include "VirtualUsbInterface.h"

namespace q745vi {

// Which instruments exist: "parallel:N" (device index N on the parallel port), "usb" or
// "usb:N" (one on USB, at device index N, default 0), comma-separated; "none" for none.
struct BenchConfiguration {
    std::vector<int> parallelIndices{0};
    std::optional<int> usbIndex;

    // nullopt with the reason in `error` when the text cannot be read.
    static std::optional<BenchConfiguration> parse(std::string_view text, std::string& error);
    std::string text() const;
};

// A bench of virtual instruments: the parallel port with its instruments and the USB adapter
// with its own, sharing one event log. The stand-in port driver and USB library drive the
// process's bench, made from the environment on first use:
//   Q745_VIRTUAL_INSTRUMENT      the configuration (default "parallel:0");
//   Q745_VIRTUAL_INSTRUMENT_LOG  file that receives every decoded event as a JSON line, and
//                                the final state when the process ends;
//   Q745_VIRTUAL_INSTRUMENT_BUS  file shared by processes whose ports stand for one port; it
//                                counts register sequences of two processes that interleave.
// Tests make benches of their own, or change the process's bench to inject faults.
class VirtualBench {
public:
    explicit VirtualBench(const BenchConfiguration& configuration = {},
                          const std::filesystem::path& logFile = {},
                          const std::filesystem::path& busFile = {});
    VirtualBench(const VirtualBench&) = delete;
    VirtualBench& operator=(const VirtualBench&) = delete;

    static VirtualBench& process();

    // Replaces the instruments (the port and the adapter stay, with their faults).
    void reconfigure(const BenchConfiguration& configuration);
    const BenchConfiguration& configuration() const { return configuration_; }
    // Why the environment's configuration was not used; empty when it was.
    const std::string& configurationError() const { return configurationError_; }

    VirtualParallelPort& parallelPort() { return port_; }
    VirtualUsbInterface& usb() { return usb_; }
    EventLog& log() { return log_; }
    const SharedBusMonitor* busMonitor() const { return monitor_.get(); }

    VirtualInstrument* parallelInstrument(int deviceIndex);
    VirtualInstrument* usbInstrument() { return usbInstrument_.get(); }

    // Records events, port cycles and USB calls in memory (and clears what was recorded).
    void setRecording(bool on);

    LogJson state(bool withPoints = false) const;
    std::string stateJson(bool withPoints = false) const { return logText(state(withPoints)); }

private:
    static VirtualBench* makeProcessBench();

    BenchConfiguration configuration_;
    std::string configurationError_;
    EventLog log_;
    std::unique_ptr<SharedBusMonitor> monitor_;
    VirtualParallelPort port_;
    VirtualUsbInterface usb_;
    std::vector<std::unique_ptr<VirtualInstrument>> parallel_;
    std::unique_ptr<VirtualInstrument> usbInstrument_;
};

}  // namespace q745vi
