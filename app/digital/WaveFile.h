#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/FileStore.h"
#include "digital/DigitalMacro.h"

class UserMessages;

// ".gdw": a digital wave with its queue of running macros, in queue order, and nothing after
// the last macro. The queue has no limit of its own; files beyond this size are refused.
inline constexpr std::size_t kLargestWaveFile = kLargestFileOfOurs;

std::vector<std::uint8_t> encodeWaveFile(const TDigitalWave& wave, const MacroQueue& running);
// Raises InvalidFile; the targets are then left as they were.
void decodeWaveFile(std::span<const std::uint8_t> content, TDigitalWave& wave, MacroQueue& running);

// Messages: "Nie je mozne otvorit subor: " + name when it cannot be created, "Neplatny subor: " +
// name when writing fails.
bool saveWaveFile(const TDigitalWave& wave, const MacroQueue& running,
                  const std::filesystem::path& fileName, UserMessages& messages);

// Replaces the wave and the queue only when the whole file reads; otherwise both are unchanged
// and the operator sees "Nie je mozne otvorit subor: " or "Neplatny subor: " + name.
bool loadWaveFile(TDigitalWave& wave, MacroQueue& running, const std::filesystem::path& fileName,
                  UserMessages& messages);
