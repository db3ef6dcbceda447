#include "waves/WaveformStore.h"

#include "core/ByteStream.h"
#include "core/FileStore.h"
#include "core/UserError.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/RecordEncoding.h"

namespace {

void emptySlotsAndResetPredefined(WaveformStore& store) {
    for (WaveformRecord& slot : store.slots)
        clearRecord(slot);
    resetPredefined(store);
}

}  // namespace

std::vector<std::uint8_t> encodeStore(const WaveformStore& store) {
    ByteWriter out;
    writeString(out, kStoreHeader);
    for (const WaveformRecord& slot : store.slots)
        writeRecord(out, slot);
    writeRecord(out, store.importedA);
    writeRecord(out, store.importedB);
    return out.take();
}

DecodedStore decodeStore(std::span<const std::uint8_t> content) {
    ByteReader in(content);
    DecodedStore decoded;
    decoded.header = readString(in);
    const bool withImported = decoded.header == kStoreHeader;
    if (!withImported && decoded.header != kOldStoreHeader) throw InvalidFile();
    for (WaveformRecord& slot : decoded.store.slots)
        slot = readRecord(in);
    if (withImported) {
        decoded.store.importedA = readRecord(in);
        decoded.store.importedB = readRecord(in);
    }
    in.expectEnd();
    return decoded;
}

bool loadStore(WaveformStore& store, const std::filesystem::path& folder, UserMessages& messages) {
    clearRecord(store.importedA);
    clearRecord(store.importedB);
    const FileRead read = readFileOfKind(folder / kStoreFileName, kLargestStoreFile);
    if (read.status == ReadStatus::CannotOpen) {
        messages.error(std::string("Nie je mozne otvorit subor: ") + kStoreFileName);
        emptySlotsAndResetPredefined(store);
        return false;
    }
    try {
        if (read.status == ReadStatus::TooLarge) throw InvalidFile();
        store = std::move(decodeStore(read.content).store);
    } catch (const InvalidFile&) {
        messages.error(std::string("Neplatny subor: ") + kStoreFileName);
        emptySlotsAndResetPredefined(store);
        return false;
    }
    return true;
}

bool saveStore(const WaveformStore& store, const std::filesystem::path& folder,
               UserMessages& messages) {
    const std::vector<std::uint8_t> bytes = encodeStore(store);
    switch (replaceFileAtomically(folder / kStoreFileName, folder / kStoreTemporaryName, bytes)) {
        case ReplaceResult::Replaced:
            return true;
        case ReplaceResult::CannotCreateTemporary:
            messages.error(std::string("Nie je mozne ukladat do suboru: ") + kStoreTemporaryName);
            return false;
        case ReplaceResult::WriteFailed:
            break;
    }
    messages.error("Nie je mozne ulozit priebehy (WavesTmp.dat, Waves.dat)");
    return false;
}
