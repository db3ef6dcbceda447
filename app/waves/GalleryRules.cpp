#include "waves/GalleryRules.h"

#include <cstdlib>

#include "core/Rounding.h"
#include "core/UnitFormat.h"

int thumbnailSlot(int deltaBarPosition, int thumbnail) {
    return deltaBarPosition * kGalleryRowLength + thumbnail;
}

std::optional<int> slotThumbnail(int deltaBarPosition, int slot) {
    const int thumbnail = slot - deltaBarPosition * kGalleryRowLength;
    if (thumbnail < 1 || thumbnail > kGalleryThumbnails) return std::nullopt;
    return thumbnail;
}

bool isPredefinedSlot(int slot) {
    return slot >= 1 && slot <= kPredefinedSlotCount;
}

WaveformRecord& slotRecord(WaveformStore& store, int slot) {
    return store.slots.at(static_cast<std::size_t>(slot - 1));
}

const WaveformRecord& slotRecord(const WaveformStore& store, int slot) {
    return store.slots.at(static_cast<std::size_t>(slot - 1));
}

void copySlot(WaveformStore& store, int from, int to) {
    if (from == to) return;
    const WaveformRecord& source = slotRecord(store, from);
    WaveformRecord& target = slotRecord(store, to);
    copyRecord(source, target);
    target.setName(kCopyNamePrefix + source.name());
}

GalleryReadout galleryCursorReadout(const GalleryCursorInput& input) {
    GalleryReadout readout;
    const int d = std::abs(input.x1 - input.x2);
    const int h = std::abs(input.y1 - input.y2);
    readout.deltaX =
        plainNumberText(roundHalfEven(static_cast<double>(input.displayStep) * d * 10 / 163.84) /
                        10) +
        "%";
    readout.deltaXPixels = std::to_string(d) + "pix";
    const double pointsPerPeriod = static_cast<double>(kWavePointCount) / input.displayStep;
    const double seconds = d / (input.frequency * pointsPerPeriod);
    readout.deltaXTime = formatTime(seconds) + "s";
    if (seconds != 0) readout.deltaXFrequency = formatFrequencyShort(1 / seconds) + "Hz";
    readout.deltaYPercent =
        input.peakToPeak == 0
            ? std::string("N/A")
            : plainNumberText(roundHalfEven(h * 1000.0 / input.peakToPeak) / 10) + "%";
    readout.deltaYVolts = formatVoltage(h * input.levelMillivolts / 254000) + "V";
    readout.deltaYAbsolute = input.absoluteMillivolts
                                 ? formatVoltage(*input.absoluteMillivolts / 1000) + "V"
                                 : std::string("N/A");
    return readout;
}

std::string galleryFrequencyText(double frequency) {
    return "Freq.: " + formatFrequency6(frequency) + "Hz";
}
