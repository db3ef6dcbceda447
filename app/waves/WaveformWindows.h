#pragma once

#include <QPoint>
#include <QPointer>
#include <optional>

#include "generators/WaveformEditors.h"
#include "shell/MainWindowModules.h"
#include "waves/DataViewModule.h"
#include "waves/GalleryScreen.h"

class AppState;
class QWidget;
class TVirtualGenerator;
struct WaveformStore;

// The waveform windows of the main window: the gallery ("Select wave A", "Select wave B") with
// the editors it opens, and the editor data view ("Modules" menu). They read the channel's
// setting from the generator model.
class WaveformWindows {
public:
    WaveformWindows(AppState& state, WaveformStore& store, TVirtualGenerator& generator,
                    WaveformEditors editors, QWidget* mainWindow);
    ~WaveformWindows();
    WaveformWindows(const WaveformWindows&) = delete;
    WaveformWindows& operator=(const WaveformWindows&) = delete;

    // Tests choose the gallery's files without the file dialogs.
    void setFileNameAsker(TGalleryForm::FileNameAsker asker) { askFileName_ = std::move(asker); }

    // The gallery, modal, at the owner's top-left corner. "Ok" gives the slot chosen; "Cancel"
    // gives nothing, unless a waveform a channel plays was replaced meanwhile: then the asking
    // channel keeps its slot and the channels whose waveforms were replaced are loaded again.
    std::optional<MainWindowModules::GalleryChoice> selectWave(
        const MainWindowModules::GalleryRequest& request, QWidget* owner);

    // The data view at a screen position; closing it clears the state's flag.
    void openDataView(QPoint screenPosition);
    void setDataViewVisible(bool visible);
    void refreshDataView();
    TDataViewModuleForm* dataView() const { return dataView_; }

private:
    AppState& state_;
    WaveformStore& store_;
    TVirtualGenerator& generator_;
    WaveformEditors editors_;
    QWidget* mainWindow_;
    TGalleryForm::FileNameAsker askFileName_;
    QPointer<TDataViewModuleForm> dataView_;
};
