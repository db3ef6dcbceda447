#include "waves/WaveformWindows.h"

#include <QObject>

#include "core/AppState.h"
#include "device/VirtualGenerator.h"
#include "waves/DataViewModule.h"
#include "waves/GalleryRules.h"
#include "waves/WaveformStore.h"

WaveformWindows::WaveformWindows(AppState& state, WaveformStore& store,
                                 TVirtualGenerator& generator, WaveformEditors editors,
                                 QWidget* mainWindow)
    : state_(state),
      store_(store),
      generator_(generator),
      editors_(std::move(editors)),
      mainWindow_(mainWindow) {}

WaveformWindows::~WaveformWindows() {
    delete dataView_.data();
}

std::optional<MainWindowModules::GalleryChoice> WaveformWindows::selectWave(
    const MainWindowModules::GalleryRequest& request, QWidget* owner) {
    const int channel = request.channel == 0 ? 0 : 1;
    const int ownSlot = channel == 0 ? request.slotA : request.slotB;
    const int otherSlot = channel == 0 ? request.slotB : request.slotA;
    GalleryInputs inputs;
    inputs.selectedSlot = ownSlot;
    inputs.otherChannelSlot = otherSlot;
    inputs.channel = channel;
    inputs.frequency = request.frequency;
    inputs.sampleStep = request.octave;
    inputs.zeroMark = generator_.ZeroLine(channel);
    inputs.levelMillivolts = generator_.LevelVolts(channel, generator_.level(channel));
    TVirtualGenerator& generator = generator_;
    inputs.sampleMillivolts = [&generator, channel](double sample) {
        return generator.SampleVolts(channel, sample);
    };
    inputs.startDirectory = state_.startDirectory;
    inputs.smallScreen = state_.smallScreenMode;

    TGalleryForm gallery(store_, inputs, editors_, owner);
    if (askFileName_) gallery.setFileNameAsker(askFileName_);
    if (owner != nullptr) gallery.move(owner->pos());
    const bool accepted = gallery.exec() == QDialog::Accepted;

    // A channel whose waveform was replaced plays the new one, whichever button closed the
    // gallery. A deleted waveform leaves nothing to play: its channel keeps what it plays.
    const auto replaced = [this, &gallery](int slot) {
        return gallery.changedSlots().contains(slot) && !slotRecord(store_, slot).isEmpty();
    };
    const bool otherChanged = gallery.otherChannelChanged() || replaced(otherSlot);
    if (accepted) return MainWindowModules::GalleryChoice{gallery.selectedSlot(), otherChanged};
    if (replaced(ownSlot) || otherChanged)
        return MainWindowModules::GalleryChoice{ownSlot, otherChanged};
    return std::nullopt;
}

void WaveformWindows::openDataView(QPoint screenPosition) {
    if (dataView_) return;
    dataView_ = new TDataViewModuleForm(mainWindow_);
    AppState& state = state_;
    QObject::connect(dataView_, &QObject::destroyed, [&state] { state.dataViewOpen = false; });
    dataView_->move(screenPosition);
    refreshDataView();
    dataView_->show();
}

void WaveformWindows::setDataViewVisible(bool visible) {
    if (dataView_) dataView_->setVisible(visible);
}

void WaveformWindows::refreshDataView() {
    if (!dataView_) return;
    const std::array<int, 2> slots{state_.waveIndexA, state_.waveIndexB};
    for (int channel = 0; channel < 2; ++channel) {
        const int index = slots[static_cast<std::size_t>(channel)];
        DataViewChannelInput input;
        if (index >= 0 && index < kStoreSlotCount)
            input.record = &store_.slots[static_cast<std::size_t>(index)];
        input.levelMillivolts = generator_.LevelVolts(channel, generator_.level(channel));
        input.frequency = generator_.frequency();
        input.sampleStep = std::max(generator_.sampleStep(), 1);
        input.multiplier = channel == 0 ? 1 : std::max(generator_.multiplier(), 1);
        dataView_->showChannel(channel, channelDataView(input));
    }
}
