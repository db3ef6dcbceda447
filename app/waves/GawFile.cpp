#include "waves/GawFile.h"

#include "core/ByteStream.h"
#include "core/FileStore.h"
#include "core/UserError.h"
#include "waves/RecordEncoding.h"

bool exportRecord(const WaveformRecord& record, const std::filesystem::path& fileName,
                  UserMessages& messages) {
    ByteWriter out;
    writeRecord(out, record);
    switch (replaceFileAtomically(fileName, out.bytes())) {
        case ReplaceResult::Replaced:
            return true;
        case ReplaceResult::CannotCreateTemporary:
            messages.error("Nie je mozne otvorit subor: " + fileName.string());
            return false;
        case ReplaceResult::WriteFailed:
            break;
    }
    messages.error("Neplatny subor: " + fileName.string());
    return false;
}

WaveformRecord decodeGaw(std::span<const std::uint8_t> content) {
    ByteReader in(content);
    WaveformRecord record = readRecord(in);
    in.expectEnd();
    return record;
}

bool importRecord(WaveformRecord& target, const std::filesystem::path& fileName, bool require16384,
                  UserMessages& messages) {
    const FileRead read = readFileOfKind(fileName, kLargestGawFile);
    if (read.status == ReadStatus::CannotOpen) {
        messages.error("Nie je mozne otvorit subor: " + fileName.string());
        return false;
    }
    WaveformRecord record;
    try {
        if (read.status == ReadStatus::TooLarge) throw InvalidFile();
        record = decodeGaw(read.content);
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
