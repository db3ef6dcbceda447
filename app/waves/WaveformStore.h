#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/UserMessages.h"
#include "waves/RecordEncoding.h"
#include "waves/WaveformRecord.h"

// The 32 gallery slots (1 to 5 predefined; numbered from 1 in the user interface, from 0 here)
// and the two waveforms of import-from-scope mode. The application owns one store for the
// whole run; it is read from "Waves.dat" at start-up and written back at exit.

inline constexpr int kStoreSlotCount = 32;
inline constexpr int kPredefinedSlotCount = 5;

inline constexpr const char* kStoreFileName = "Waves.dat";
inline constexpr const char* kStoreTemporaryName = "WavesTmp.dat";
inline constexpr const char* kStoreHeader = "Main waveforms file 2";
inline constexpr const char* kOldStoreHeader = "Main waveforms file";  // no imported records
inline constexpr std::size_t kLargestStoreFile =
    kLargestStoredStringSize + (kStoreSlotCount + 2) * kLargestRecordSize;

struct WaveformStore {
    std::array<WaveformRecord, kStoreSlotCount> slots;
    WaveformRecord importedA;
    WaveformRecord importedB;

    bool operator==(const WaveformStore&) const = default;
};

// The content of a "Waves.dat" file as read, with the header that it had.
struct DecodedStore {
    std::string header;
    WaveformStore store;
};

std::vector<std::uint8_t> encodeStore(const WaveformStore& store);
// InvalidFile for an unknown header, a short or inconsistent file, or bytes after its end.
DecodedStore decodeStore(std::span<const std::uint8_t> content);

// Start-up: empties the two imported records and reads "Waves.dat" from the folder. When the
// file cannot be opened or is invalid, an error box says so and the store is left with the
// five predefined waveforms and 27 empty slots. Returns whether the file was read.
bool loadStore(WaveformStore& store, const std::filesystem::path& folder, UserMessages& messages);

// Exit: writes "WavesTmp.dat", flushes it and renames it over "Waves.dat", so that a failure
// at any moment leaves the previous file whole. Returns false after the error box.
bool saveStore(const WaveformStore& store, const std::filesystem::path& folder,
               UserMessages& messages);
