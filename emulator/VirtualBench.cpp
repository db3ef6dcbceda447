#include "VirtualBench.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace q745vi {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::optional<int> deviceIndex(std::string_view text) {
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 15)
        return std::nullopt;
    return value;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::optional<BenchConfiguration> BenchConfiguration::parse(std::string_view text,
                                                            std::string& error) {
    BenchConfiguration result;
    result.parallelIndices.clear();
    bool none = false;
    std::size_t entries = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view entry = trimmed(text.substr(0, comma));
        ++entries;
        if (entry == "none") {
            none = true;
        } else if (entry == "usb") {
            result.usbIndex = 0;
        } else if (entry.starts_with("usb:") && deviceIndex(entry.substr(4))) {
            result.usbIndex = deviceIndex(entry.substr(4));
        } else if (entry.starts_with("parallel:") && deviceIndex(entry.substr(9))) {
            const int index = *deviceIndex(entry.substr(9));
            if (std::find(result.parallelIndices.begin(), result.parallelIndices.end(), index) !=
                result.parallelIndices.end()) {
                error = "device index " + std::to_string(index) + " is given twice";
                return std::nullopt;
            }
            result.parallelIndices.push_back(index);
        } else {
            error =
                "\"" + std::string(entry) + "\" is not parallel:N (N 0 to 15), usb, usb:N or none";
            return std::nullopt;
        }
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (none && entries > 1) {
        error = "none cannot be combined with instruments";
        return std::nullopt;
    }
    return result;
}

std::string BenchConfiguration::text() const {
    std::string out;
    for (int index : parallelIndices) {
        if (!out.empty()) out += ',';
        out += "parallel:" + std::to_string(index);
    }
    if (usbIndex) {
        if (!out.empty()) out += ',';
        out += "usb:" + std::to_string(*usbIndex);
    }
    return out.empty() ? "none" : out;
}

VirtualBench::VirtualBench(const BenchConfiguration& configuration,
                           const std::filesystem::path& logFile,
                           const std::filesystem::path& busFile)
    : log_(logFile), port_(log_), usb_(log_) {
    if (!busFile.empty()) {
        monitor_ = std::make_unique<SharedBusMonitor>(busFile);
        if (monitor_->valid()) port_.setMonitor(monitor_.get());
    }
    reconfigure(configuration);
}

namespace {

// Writes the process bench's final state as the log's last line when the process ends. The
// bench itself is never destroyed, so the stand-ins may use it until their own end.
struct ProcessBenchFinaliser {
    VirtualBench* bench = nullptr;
    ~ProcessBenchFinaliser() {
        if (bench != nullptr && bench->log().hasFile())
            bench->log().appendLine(logText({{"event", "final"}, {"state", bench->state()}}));
    }
};

}  // namespace

VirtualBench* VirtualBench::makeProcessBench() {
    BenchConfiguration configuration;
    std::string error;
    const std::string text = environment("Q745_VIRTUAL_INSTRUMENT");
    if (!text.empty()) {
        if (auto parsed = BenchConfiguration::parse(text, error)) {
            configuration = *parsed;
        } else {
            configuration.parallelIndices.clear();
            std::fprintf(stderr, "Q745_VIRTUAL_INSTRUMENT: %s; no virtual instrument attached\n",
                         error.c_str());
        }
    }
    auto* bench = new VirtualBench(configuration, environment("Q745_VIRTUAL_INSTRUMENT_LOG"),
                                   environment("Q745_VIRTUAL_INSTRUMENT_BUS"));
    bench->configurationError_ = error;
    return bench;
}

VirtualBench& VirtualBench::process() {
    static VirtualBench* bench = makeProcessBench();
    static ProcessBenchFinaliser finaliser{bench};
    return *bench;
}

void VirtualBench::reconfigure(const BenchConfiguration& configuration) {
    configuration_ = configuration;
    port_.detachAll();
    parallel_.clear();
    for (int index : configuration.parallelIndices) {
        parallel_.push_back(
            std::make_unique<VirtualInstrument>("parallel:" + std::to_string(index), index, log_));
        port_.attach(*parallel_.back());
    }
    usbInstrument_.reset();
    if (configuration.usbIndex)
        usbInstrument_ = std::make_unique<VirtualInstrument>(
            "usb:" + std::to_string(*configuration.usbIndex), *configuration.usbIndex, log_);
    usb_.attach(usbInstrument_.get());
}

VirtualInstrument* VirtualBench::parallelInstrument(int deviceIndex) {
    for (auto& instrument : parallel_) {
        if (instrument->deviceIndex() == deviceIndex) return instrument.get();
    }
    return nullptr;
}

void VirtualBench::setRecording(bool on) {
    log_.clear();
    log_.setRecording(on);
    port_.clearCycles();
    port_.setRecording(on);
    usb_.clearCalls();
    usb_.setRecording(on);
}

LogJson VirtualBench::state(bool withPoints) const {
    LogJson instruments = LogJson::array();
    for (const auto& instrument : parallel_)
        instruments.push_back(instrument->state(withPoints).toJson(withPoints));
    if (usbInstrument_) instruments.push_back(usbInstrument_->state(withPoints).toJson(withPoints));
    LogJson bus;
    bus["shared"] = monitor_ != nullptr && monitor_->valid();
    if (monitor_ != nullptr) {
        bus["accesses"] = monitor_->accesses();
        bus["interleavings"] = monitor_->interleavings();
    }
    LogJson json;
    json["configuration"] = configuration_.text();
    if (!configurationError_.empty()) json["configurationError"] = configurationError_;
    json["instruments"] = std::move(instruments);
    json["parallelPort"] = port_.stateJson();
    json["usb"] = usb_.stateJson();
    json["bus"] = std::move(bus);
    return json;
}

}  // namespace q745vi
