#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "digital/DigitalWave.h"
#include "digital/DigitalWaveBlock.h"

class UserMessages;

// "DWave.dat": the main digital wave, kept in the start directory.
inline constexpr const char* kMainWaveFileName = "DWave.dat";
inline constexpr const char* kMainWaveTemporaryName = "DWaveTmp.dat";
// Its header, one wave block and its trailer.
inline constexpr std::size_t kLargestMainWaveFile = (4 + 22) + kLargestWaveBlockSize + (4 + 26);

std::vector<std::uint8_t> encodeMainWave(const TDigitalWave& wave);
// Raises InvalidFile (also for bytes after the trailer); the wave is left empty then.
void decodeMainWave(std::span<const std::uint8_t> content, TDigitalWave& wave);

// Reads folder/"DWave.dat" into the wave. A missing file ("Nie je mozne otvorit subor:
// DWave.dat") or an invalid one ("Neplatny subor") leaves the wave empty.
bool loadMainWave(TDigitalWave& wave, const std::filesystem::path& folder, UserMessages& messages);

// Replaces folder/"DWave.dat" through "DWaveTmp.dat"; on failure the old file stays whole.
bool saveMainWave(const TDigitalWave& wave, const std::filesystem::path& folder,
                  UserMessages& messages);
