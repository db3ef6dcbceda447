#include "InstrumentState.h"

#include <cstdio>

#include "JsonObject.h"

namespace q745vi {

namespace {

std::string hex32(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

std::string channelJson(const ChannelState& channel, bool octaveMode, bool withPoints) {
    JsonObject json;
    json.add("enabled", channel.enabled)
        .add("outputPath", channel.normalPath ? "normal" : "-20dB")
        .add("filter", channel.filter)
        .add("externalLevel", channel.externalLevel)
        .add("levelDac", channel.levelDac)
        .add("shiftDac", channel.shiftDac)
        .add("amplitudeVpp", channel.amplitudeVolts)
        .add("offsetVolts", channel.offsetVolts)
        .add("playedStart", channel.playedStart)
        .add("playedPoints", channel.playedLength)
        .add("playedFnv1a", hex32(channel.playedChecksum));
    if (octaveMode) json.add("signalFrequencyHz", channel.signalFrequency);
    if (withPoints) json.addJson("points", jsonArray(channel.played));
    return json.text();
}

std::string countersJson(const InstrumentCounters& c) {
    return JsonObject()
        .add("addressCycles", c.addressCycles)
        .add("dataWrites", c.dataWrites)
        .add("dataReads", c.dataReads)
        .add("blockWrites", c.blockWrites)
        .add("blockBytes", c.blockBytes)
        .add("configurationLoads", c.configurationLoads)
        .add("calibrationReads", c.calibrationReads)
        .add("dacWords", c.dacWords)
        .add("switchImages", c.switchImages)
        .add("ignoredWrites", c.ignoredWrites)
        .add("timingViolations", c.timingViolations)
        .add("protocolErrors", c.protocolErrors)
        .text();
}

}  // namespace

std::string InstrumentState::toJson(bool withPoints) const {
    JsonObject clock;
    clock.add("synthesiserCode", synthesiserCode)
        .add("divider", divider)
        .add("sampleClockHz", sampleClockHz)
        .add("octaveMode", octaveMode)
        .add("endAddress", endAddress);
    if (octaveMode) clock.add("octave", octave).add("playedLength", channels[0].playedLength);

    JsonObject trigger;
    trigger.add("source", externalTrigger ? "external" : (syncOutput ? "sync" : "internal"))
        .add("externalTrigger", externalTrigger)
        .add("syncOutput", syncOutput)
        .add("edge", trailingEdge ? "trailing" : "leading")
        .add("mode", periodic ? "periodic" : "single")
        .add("running", running)
        .add("memoryLoading", memoryLoading);

    JsonObject digital;
    digital.add("on", digitalOutputsOn)
        .add("voltage", digitalFiveVolts ? "5V" : "3.3V")
        .add("driversEnabled", digitalDriversEnabled);

    JsonObject json;
    json.add("source", source)
        .add("deviceIndex", deviceIndex)
        .add("modelId", modelId)
        .add("configured", configured)
        .add("calibrationChecksumValid", calibrationChecksumValid)
        .add("oscillatorHz", oscillatorHz)
        .addJson("registers", jsonArray(registers))
        .add("switchImage", switchImage)
        .addJson("dacCodes", jsonArray(dacCodes))
        .addJson("clock", clock.text())
        .addJson("channels", jsonArray({channelJson(channels[0], octaveMode, withPoints),
                                        channelJson(channels[1], octaveMode, withPoints)}))
        .addJson("trigger", trigger.text())
        .addJson("digitalOutputs", digital.text())
        .addJson("counters", countersJson(counters));
    return json.text();
}

}  // namespace q745vi
