#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/GeneratorConversions.h"
#include "import/CursorTracking.h"

// How faithfully the instrument replays an import: the figures that the import-mode read-out
// shows after "Import from scope" or "Import from ASCII", so that the operator knows whether
// the generated signal repeats the recorded one.

// What one channel received.
struct ChannelReplay {
    bool imported = false;
    std::int64_t markedPoints = 0;  // the stretch the operator marked
    std::int64_t playedPoints = 0;  // what the waveform memory holds of it
    // Points whose output lies beyond the reach of the output stage at the codes set.
    std::int64_t clippedPoints = 0;
    // Values of a text file that were limited to 0-255 (no normalising).
    bool samplesLimited = false;
    // The full-scale level the recording asks for (0: the import left the level as it was) and
    // the one the channel got.
    double wantedLevelMillivolts = 0;
    double levelMillivolts = 0;
};

struct ReplayFidelity {
    // Samples per second of the recording; nothing for a text file, which has no rate.
    std::optional<double> recordedRate;
    // The rate the instrument produces, as the driver reports it.
    double producedRate = 0;
    std::array<ChannelReplay, 2> channels;
};

// The part of a marked stretch that the waveform memory holds: a stretch longer than the
// memory keeps its start and is shortened to 262144 points.
CursorPair stretchWithinMemory(CursorPair cursors);

// (produced - recorded) / recorded in millionths; nothing without a positive recorded rate.
std::optional<double> rateDifferencePpm(double recordedRate, double producedRate);

// The points whose voltage at the codes given lies beyond the +-8 V that the output stage can
// drive (judged on the normal path into the path's load, as the channel panel warns).
std::int64_t pointsBeyondOutput(std::span<const std::uint8_t> points, generator::OutputPath path,
                                std::int32_t levelCode, std::int32_t shiftCode);

// The level the channel got differs from the wanted one by more than the level steps explain.
bool levelLimited(const ChannelReplay& channel);

// The read-out's two lines: the rates and their difference, and what was not replayed as
// recorded ("Whole stretch, nothing clipped" when nothing).
std::string replayRateText(const ReplayFidelity& fidelity);
std::string replayNoteText(const ReplayFidelity& fidelity);
