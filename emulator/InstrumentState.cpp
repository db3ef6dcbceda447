#include "InstrumentState.h"

#include <cstdio>

namespace q745vi {

namespace {

std::string hex32(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

LogJson channelJson(const ChannelState& channel, bool octaveMode, bool withPoints) {
    LogJson json;
    json["enabled"] = channel.enabled;
    json["outputPath"] = channel.normalPath ? "normal" : "-20dB";
    json["filter"] = channel.filter;
    json["externalLevel"] = channel.externalLevel;
    json["levelDac"] = channel.levelDac;
    json["shiftDac"] = channel.shiftDac;
    json["amplitudeVpp"] = channel.amplitudeVolts;
    json["offsetVolts"] = channel.offsetVolts;
    json["playedStart"] = channel.playedStart;
    json["playedPoints"] = channel.playedLength;
    json["playedFnv1a"] = hex32(channel.playedChecksum);
    if (octaveMode) json["signalFrequencyHz"] = channel.signalFrequency;
    if (withPoints) json["points"] = channel.played;
    return json;
}

LogJson countersJson(const InstrumentCounters& c) {
    return {{"addressCycles", c.addressCycles},
            {"dataWrites", c.dataWrites},
            {"dataReads", c.dataReads},
            {"blockWrites", c.blockWrites},
            {"blockBytes", c.blockBytes},
            {"configurationLoads", c.configurationLoads},
            {"calibrationReads", c.calibrationReads},
            {"dacWords", c.dacWords},
            {"switchImages", c.switchImages},
            {"ignoredWrites", c.ignoredWrites},
            {"timingViolations", c.timingViolations},
            {"protocolErrors", c.protocolErrors}};
}

}  // namespace

LogJson InstrumentState::toJson(bool withPoints) const {
    LogJson clock;
    clock["synthesiserCode"] = synthesiserCode;
    clock["divider"] = divider;
    clock["sampleClockHz"] = sampleClockHz;
    clock["octaveMode"] = octaveMode;
    clock["endAddress"] = endAddress;
    if (octaveMode) {
        clock["octave"] = octave;
        clock["playedLength"] = channels[0].playedLength;
    }

    LogJson trigger;
    trigger["source"] = externalTrigger ? "external" : (syncOutput ? "sync" : "internal");
    trigger["externalTrigger"] = externalTrigger;
    trigger["syncOutput"] = syncOutput;
    trigger["edge"] = trailingEdge ? "trailing" : "leading";
    trigger["mode"] = periodic ? "periodic" : "single";
    trigger["running"] = running;
    trigger["memoryLoading"] = memoryLoading;

    LogJson digital;
    digital["on"] = digitalOutputsOn;
    digital["voltage"] = digitalFiveVolts ? "5V" : "3.3V";
    digital["driversEnabled"] = digitalDriversEnabled;

    LogJson json;
    json["source"] = source;
    json["deviceIndex"] = deviceIndex;
    json["modelId"] = modelId;
    json["configured"] = configured;
    json["calibrationChecksumValid"] = calibrationChecksumValid;
    json["oscillatorHz"] = oscillatorHz;
    json["registers"] = registers;
    json["switchImage"] = switchImage;
    json["dacCodes"] = dacCodes;
    json["clock"] = std::move(clock);
    json["channels"] = {channelJson(channels[0], octaveMode, withPoints),
                        channelJson(channels[1], octaveMode, withPoints)};
    json["trigger"] = std::move(trigger);
    json["digitalOutputs"] = std::move(digital);
    json["counters"] = countersJson(counters);
    return json;
}

}  // namespace q745vi
