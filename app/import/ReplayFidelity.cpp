#include "import/ReplayFidelity.h"

#include <cmath>
#include <vector>

#include "core/Rounding.h"
#include "core/UnitFormat.h"
#include "waves/WaveformRecord.h"

namespace {

constexpr double OutputReachMillivolts = 8000;
// A level code moves the level by under 0.5 % of the smallest full-scale level.
constexpr double LevelTolerance = 0.01;

std::string ppmText(double ppm) {
    // One decimal while it is small enough to matter.
    const double shown = std::abs(ppm) < 1000 ? roundHalfEven(ppm * 10) / 10 : roundHalfEven(ppm);
    return (shown > 0 ? "+" : "") + plainNumberText(shown) + " ppm";
}

const char* channelName(std::size_t channel) {
    return channel == 0 ? "A" : "B";
}

}  // namespace

CursorPair stretchWithinMemory(CursorPair cursors) {
    // A cut takes distance - 1 points.
    constexpr std::int64_t longest = kMaxRecordPointCount + 1;
    if (cursorDistance(cursors) <= longest) return cursors;
    const auto end = static_cast<std::int32_t>(std::min(cursors.first, cursors.second) + longest);
    if (cursors.first < cursors.second) return {cursors.first, end};
    return {end, cursors.second};
}

std::optional<double> rateDifferencePpm(double recordedRate, double producedRate) {
    if (!(recordedRate > 0) || !std::isfinite(recordedRate) || !std::isfinite(producedRate))
        return std::nullopt;
    return (producedRate - recordedRate) / recordedRate * 1e6;
}

std::int64_t pointsBeyondOutput(std::span<const std::uint8_t> points, generator::OutputPath path,
                                std::int32_t levelCode, std::int32_t shiftCode) {
    std::array<std::int64_t, 256> counts{};
    for (std::uint8_t point : points)
        ++counts[point];
    // The attenuator follows the output stage: the stage itself works at the normal path.
    path.outputState = generator::OutputNormal;
    std::int64_t beyond = 0;
    for (std::size_t sample = 0; sample < counts.size(); ++sample) {
        if (counts[sample] == 0) continue;
        const double millivolts =
            SampleVolts(path, levelCode, shiftCode, static_cast<double>(sample));
        if (std::abs(millivolts) > OutputReachMillivolts) beyond += counts[sample];
    }
    return beyond;
}

bool levelLimited(const ChannelReplay& channel) {
    if (!(channel.wantedLevelMillivolts > 0)) return false;
    return std::abs(channel.levelMillivolts - channel.wantedLevelMillivolts) >
           channel.wantedLevelMillivolts * LevelTolerance;
}

std::string replayRateText(const ReplayFidelity& fidelity) {
    const std::string produced = formatFrequency6(fidelity.producedRate) + "Hz";
    if (!fidelity.recordedRate) return "No recorded rate, plays " + produced;
    const std::string recorded = "Recorded " + formatFrequency6(*fidelity.recordedRate) + "Hz";
    const std::optional<double> ppm =
        rateDifferencePpm(*fidelity.recordedRate, fidelity.producedRate);
    if (!ppm) return "Recorded rate unknown, plays " + produced;
    return recorded + ", plays " + produced + ": " + ppmText(*ppm);
}

std::string replayNoteText(const ReplayFidelity& fidelity) {
    std::vector<std::string> notes;
    for (std::size_t c = 0; c < fidelity.channels.size(); ++c) {
        const ChannelReplay& channel = fidelity.channels[c];
        if (!channel.imported) continue;
        const std::string name = channelName(c);
        if (channel.markedPoints > channel.playedPoints)
            notes.push_back(name + ": " + std::to_string(channel.playedPoints) + " of " +
                            std::to_string(channel.markedPoints) + " points fit the memory");
        if (levelLimited(channel))
            notes.push_back(name + ": level " + formatVoltage(channel.levelMillivolts / 1000.0) +
                            "V of " + formatVoltage(channel.wantedLevelMillivolts / 1000.0) + "V");
        if (channel.clippedPoints > 0)
            notes.push_back(name + ": " + std::to_string(channel.clippedPoints) +
                            " points clipped");
        if (channel.samplesLimited) notes.push_back(name + ": values limited to 0-255");
    }
    if (notes.empty()) return "Whole stretch, nothing clipped";
    std::string text;
    for (const std::string& note : notes)
        text += (text.empty() ? "" : "; ") + note;
    return text;
}
