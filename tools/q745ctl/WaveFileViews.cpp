// "inspect" for the waveform files: a ".gaw" record and the "Waves.dat" store as JSON.
#include <stdexcept>

#include "Command.h"
#include "ToolJson.h"
#include "core/ByteStream.h"
#include "core/UserError.h"
#include "waves/GawFile.h"
#include "waves/RecordEncoding.h"
#include "waves/WaveformStore.h"

namespace {

Json recordJson(const WaveformRecord& record, bool points) {
    Json json;
    json["name"] = fileText(record.name());
    json["imported"] = record.imported;
    json["pointCount"] = record.pointCount();
    json["optionsKind"] = record.optionsKind;
    json["generatorKind"] = record.generatorKind;
    json["paramCount"] = record.paramCount();
    json["maxSample"] = record.maxSample;
    json["minSample"] = record.minSample;
    json["peakToPeak"] = record.peakToPeak;
    json["meanSample"] = record.meanSample;
    json["harmonicCount"] = record.harmonicCount;
    if (points) json["points"] = record.points;
    return json;
}

std::runtime_error invalidFile(const std::filesystem::path& path) {
    return std::runtime_error("Neplatny subor: " + path.string());
}

// A ".gaw" is exactly one record and nothing after it.
bool isGaw(std::span<const std::uint8_t> content) {
    try {
        ByteReader in(content);
        readRecord(in);
        return in.atEnd();
    } catch (const InvalidFile&) {
        return false;
    }
}

// "Waves.dat" is recognised by its header, so that a damaged store is reported as such.
bool hasStoreHeader(std::span<const std::uint8_t> content) {
    try {
        ByteReader in(content);
        const std::string header = readString(in);
        return header == kStoreHeader || header == kOldStoreHeader;
    } catch (const InvalidFile&) {
        return false;
    }
}

void inspectGaw(const std::filesystem::path& path, std::span<const std::uint8_t> content,
                bool points, std::ostream& out) {
    WaveformRecord record;
    try {
        record = decodeGaw(content);
    } catch (const InvalidFile&) {
        throw invalidFile(path);
    }
    printJson(out, recordJson(record, points));
}

void inspectStore(const std::filesystem::path& path, std::span<const std::uint8_t> content,
                  bool points, std::ostream& out) {
    DecodedStore decoded;
    try {
        decoded = decodeStore(content);
    } catch (const InvalidFile&) {
        throw invalidFile(path);
    }
    const bool withImported = decoded.header == kStoreHeader;
    Json json;
    json["header"] = fileText(decoded.header);
    json["slots"] = Json::array();
    for (const WaveformRecord& slot : decoded.store.slots)
        json["slots"].push_back(recordJson(slot, points));
    json["importedA"] = withImported ? recordJson(decoded.store.importedA, points) : Json();
    json["importedB"] = withImported ? recordJson(decoded.store.importedB, points) : Json();
    printJson(out, json);
}

const CommandRegistration storeInspector(FileInspector{
    "Waves.dat", 20,
    [](const std::filesystem::path&, std::span<const std::uint8_t> content) {
        return hasStoreHeader(content);
    },
    inspectStore});

const CommandRegistration gawInspector(FileInspector{
    "gaw", 10,
    [](const std::filesystem::path&, std::span<const std::uint8_t> content) {
        return isGaw(content);
    },
    inspectGaw});

}  // namespace
