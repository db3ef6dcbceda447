#include "InstrumentEvent.h"

#include <cstdio>

#include "LogJson.h"

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
    LogJson json;
    json["us"] = microseconds;
    json["source"] = source;
    json["event"] = eventName(kind);
    switch (kind) {
        case EventKind::Write:
            json["register"] = reg;
            json["value"] = value;
            if (ignored) json["ignored"] = true;
            break;
        case EventKind::Identification:
            json["modelId"] = value;
            break;
        case EventKind::ConfigurationStart:
            json["value"] = value;
            break;
        case EventKind::Configuration:
            json["length"] = length;
            json["loaded"] = value != 0;
            break;
        case EventKind::CalibrationRead:
            json["address"] = address;
            json["word"] = value;
            break;
        case EventKind::Dac:
            json["dac"] = address;
            json["code"] = value;
            break;
        case EventKind::Switch:
            json["image"] = value;
            break;
        case EventKind::Block: {
            char text[16];
            std::snprintf(text, sizeof text, "%08x", checksum);
            json["register"] = reg;
            json["length"] = length;
            json["fnv1a"] = text;
            break;
        }
        case EventKind::PortMode:
            json["connected"] = value != 0;
            json["mode"] = address;
            break;
        case EventKind::TimingViolation:
            json["wait"] = detail;
            json["microseconds"] = value;
            break;
        case EventKind::ProtocolError:
            json["detail"] = detail;
            break;
        case EventKind::Interleaving:
            json["count"] = value;
            break;
    }
    return logText(json);
}

}  // namespace q745vi
