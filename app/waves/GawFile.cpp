#include "waves/GawFile.h"

#include <fstream>
#include <system_error>

#include "core/ByteStream.h"
#include "core/FileStore.h"
#include "core/UserError.h"
#include "waves/RecordEncoding.h"

bool exportRecord(const WaveformRecord& record, const std::filesystem::path& fileName,
                  UserMessages& messages) {
    ByteWriter out;
    writeRecord(out, record);
    std::error_code ignored;
    std::filesystem::remove(fileName, ignored);
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file) {
        messages.error("Nie je mozne otvorit subor: " + fileName.string());
        return false;
    }
    file.write(reinterpret_cast<const char*>(out.bytes().data()),
               static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file) {
        messages.error("Neplatny subor: " + fileName.string());
        return false;
    }
    return true;
}

WaveformRecord decodeGaw(std::span<const std::uint8_t> content) {
    ByteReader in(content);
    return readRecord(in);
}

bool importRecord(WaveformRecord& target, const std::filesystem::path& fileName, bool require16384,
                  UserMessages& messages) {
    std::optional<std::vector<std::uint8_t>> content = readWholeFile(fileName);
    if (!content) {
        messages.error("Nie je mozne otvorit subor: " + fileName.string());
        return false;
    }
    WaveformRecord record;
    try {
        record = decodeGaw(*content);
    } catch (const InvalidFile&) {
        messages.error("Neplatny subor: " + fileName.string());
        return false;
    }
    if (require16384 && record.pointCount() != kWavePointCount) {
        messages.error(
            "Velkost priebehu ulozeneho v subore sa lisi od 16384 bodov.\r\n"
            "Nie je mozne nacitat taky priebeh v tomto rezime.");
        return false;
    }
    target = std::move(record);
    return true;
}
