#include "InstrumentEvent.h"

#include <cstdio>

#include "JsonObject.h"

namespace q745vi {

const char* eventName(EventKind kind) {
    switch (kind) {
        case EventKind::Write:
            return "write";
        case EventKind::Identification:
            return "identification";
        case EventKind::ConfigurationStart:
            return "configurationStart";
        case EventKind::Configuration:
            return "configuration";
        case EventKind::CalibrationRead:
            return "calibrationRead";
        case EventKind::Dac:
            return "dac";
        case EventKind::Switch:
            return "switch";
        case EventKind::Block:
            return "block";
        case EventKind::PortMode:
            return "portMode";
        case EventKind::TimingViolation:
            return "timingViolation";
        case EventKind::ProtocolError:
            return "protocolError";
        case EventKind::Interleaving:
            return "interleaving";
    }
    return "unknown";
}

std::uint32_t fnv1a(const std::uint8_t* data, std::size_t count) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= data[i];
        hash *= 16777619u;
    }
    return hash;
}

std::string InstrumentEvent::toJson() const {
    JsonObject json;
    json.add("us", microseconds).add("source", source).add("event", eventName(kind));
    switch (kind) {
        case EventKind::Write:
            json.add("register", reg).add("value", value);
            if (ignored) json.add("ignored", true);
            break;
        case EventKind::Identification:
            json.add("modelId", value);
            break;
        case EventKind::ConfigurationStart:
            json.add("value", value);
            break;
        case EventKind::Configuration:
            json.add("length", length).add("loaded", value != 0);
            break;
        case EventKind::CalibrationRead:
            json.add("address", address).add("word", value);
            break;
        case EventKind::Dac:
            json.add("dac", address).add("code", value);
            break;
        case EventKind::Switch:
            json.add("image", value);
            break;
        case EventKind::Block: {
            char text[16];
            std::snprintf(text, sizeof text, "%08x", checksum);
            json.add("register", reg).add("length", length).add("fnv1a", text);
            break;
        }
        case EventKind::PortMode:
            json.add("connected", value != 0).add("mode", address);
            break;
        case EventKind::TimingViolation:
            json.add("wait", detail).add("microseconds", value);
            break;
        case EventKind::ProtocolError:
            json.add("detail", detail);
            break;
        case EventKind::Interleaving:
            json.add("count", value);
            break;
    }
    return json.text();
}

}  // namespace q745vi
