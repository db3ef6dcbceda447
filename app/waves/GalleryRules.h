#pragma once

#include <optional>
#include <string>

#include "waves/WaveformRecord.h"
#include "waves/WaveformStore.h"

// What the waveform gallery decides without a window: which slot each of its eight thumbnails
// shows as the scroll bar moves by rows of four, which slots may be deleted, how a copy is
// named, and the cursor read-outs of its large display. Slots are numbered 1 to 32 here, as
// the gallery shows them.

inline constexpr int kGalleryThumbnails = 8;
inline constexpr int kGalleryRowLength = 4;
// The scroll bar's last position shows slots 25 to 32.
inline constexpr int kDeltaBarMaximum = (kStoreSlotCount - kGalleryThumbnails) / kGalleryRowLength;

inline constexpr const char* kEmptySlotText = "Empty";
inline constexpr const char* kCopyNamePrefix = "Copy of ";
inline constexpr const char* kPredefinedNotDeleted = "Nie je mozne zmazat preddefinovany priebeh";
inline constexpr const char* kDeleteQuestionStart = "Ste si isty, ze chcete zmazat ";
inline constexpr const char* kOtherChannelQuestion =
    "Zvoleny priebeh je pouzivany druhym kanalom.\r\nZmenite tiez priebeh na druhom kanali.\r\n"
    "Chcete pokracovat ?";

// The slot that thumbnail 1..8 shows with the scroll bar at `deltaBarPosition` (0..6).
int thumbnailSlot(int deltaBarPosition, int thumbnail);
// The thumbnail that shows the slot, or nothing when the slot is scrolled out of sight.
std::optional<int> slotThumbnail(int deltaBarPosition, int slot);

// Slots 1 to 5 hold the predefined waveforms, which cannot be deleted.
bool isPredefinedSlot(int slot);

WaveformRecord& slotRecord(WaveformStore& store, int slot);
const WaveformRecord& slotRecord(const WaveformStore& store, int slot);

// A thumbnail dropped on another: the target becomes a deep copy of the source (statistics
// included) named "Copy of " and the source's name, cut to 255 characters. Nothing happens
// for a slot dropped on itself.
void copySlot(WaveformStore& store, int from, int to);

// What the large display's read-outs are computed from.
struct GalleryCursorInput {
    int x1 = 0;  // the vertical cursors as point indices of the displayed record
    int x2 = 0;
    int y1 = 0;  // the horizontal cursors as sample values (y1 the red one)
    int y2 = 0;
    int displayStep = 1;   // points per generated point: 1, or the generator's step in real view
    double frequency = 0;  // of the channel's output, Hz
    std::int32_t peakToPeak = 0;  // of the displayed waveform, in sample steps
    double levelMillivolts = 0;   // the channel's full-scale level
    // The output voltage at the red horizontal cursor (mV), in real view only.
    std::optional<double> absoluteMillivolts;
};

// The texts of the labels DeltaXLabel, DeltaXPixLabel, DeltaXTimelabel, DeltaXFreqLabel,
// DeltaYVLabel, DeltaYPerLabel and DeltaYAbsLabel. deltaXFrequency is empty when the cursors
// coincide: that label keeps its text then.
struct GalleryReadout {
    std::string deltaX;
    std::string deltaXPixels;
    std::string deltaXTime;
    std::optional<std::string> deltaXFrequency;
    std::string deltaYVolts;
    std::string deltaYPercent;
    std::string deltaYAbsolute;
};

GalleryReadout galleryCursorReadout(const GalleryCursorInput& input);

// "Freq.: " with the output frequency.
std::string galleryFrequencyText(double frequency);
