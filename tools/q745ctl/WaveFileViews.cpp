// "inspect" for the waveform files: a ".gaw" record and the "Waves.dat" store as JSON.
#include <stdexcept>

#include "core/ByteStream.h"
#include "Command.h"
#include "Json.h"
#include "core/UserError.h"
#include "waves/GawFile.h"
#include "waves/RecordEncoding.h"
#include "waves/WaveformStore.h"

namespace {

void writeRecordJson(JsonWriter& json, const WaveformRecord& record, bool points) {
    json.beginObject();
    json.field("name", record.name());
    json.field("imported", static_cast<int>(record.imported));
    json.field("pointCount", record.pointCount());
    json.field("optionsKind", record.optionsKind);
    json.field("generatorKind", record.generatorKind);
    json.field("paramCount", record.paramCount());
    json.field("maxSample", record.maxSample);
    json.field("minSample", record.minSample);
    json.field("peakToPeak", record.peakToPeak);
    json.field("meanSample", record.meanSample);
    json.field("harmonicCount", record.harmonicCount);
    if (points) {
        json.key("points");
        json.bytes(record.points);
    }
    json.endObject();
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
    JsonWriter json(out);
    writeRecordJson(json, record, points);
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
    JsonWriter json(out);
    json.beginObject();
    json.field("header", decoded.header);
    json.key("slots");
    json.beginArray();
    for (const WaveformRecord& slot : decoded.store.slots)
        writeRecordJson(json, slot, points);
    json.endArray();
    json.key("importedA");
    if (withImported)
        writeRecordJson(json, decoded.store.importedA, points);
    else
        json.null();
    json.key("importedB");
    if (withImported)
        writeRecordJson(json, decoded.store.importedB, points);
    else
        json.null();
    json.endObject();
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
