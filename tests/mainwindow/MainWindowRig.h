#pragma once

#include <QUrl>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../device/DeviceRig.h"
#include "shell/ChannelPanelLink.h"
#include "shell/DigitalDisplayLink.h"
#include "shell/Main.h"
#include "shell/MainWindowModules.h"
#include "shell/MessageBox.h"
#include "RecordingMessages.h"
#include "shell/WaveDisplayLink.h"
#include "device/VirtualGenerator.h"
#include "ui_Main.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

// Stands in for a waveform display: reports the cursors it was given and records what the main
// window asks of it.
class FakeWaveDisplay final : public WaveDisplayLink {
public:
    CursorPositions cursors() const override { return cursorPositions; }
    void setZeroMark(int value) override {
        zeroMark = value;
        calls.push_back("setZeroMark");
    }
    void showRecord(const WaveformRecord& record) override {
        shownRecord = &record;
        calls.push_back("showRecord");
    }
    void redraw() override { calls.push_back("redraw"); }
    int phase() const override { return phaseValue; }
    // Keeps the phase as a display does: a multiple of the quantum.
    void setPhase(int points) override {
        phaseValue = points / phaseQuantum * phaseQuantum;
        calls.push_back("setPhase");
    }
    void setPhaseGrab(bool on) override { grabbing = on; }
    void showCursors() override {
        cursorsShown = true;
        calls.push_back("showCursors");
    }
    void hideCursors() override {
        cursorsShown = false;
        calls.push_back("hideCursors");
    }
    void pointerLeft() override { calls.push_back("pointerLeft"); }
    void setBusy(bool on) override { busy = on; }

    int count(const std::string& call) const {
        int n = 0;
        for (const std::string& each : calls)
            n += each == call;
        return n;
    }

    CursorPositions cursorPositions;
    int zeroMark = -1000;
    const WaveformRecord* shownRecord = nullptr;
    int phaseValue = 0;
    int phaseQuantum = 1;
    bool grabbing = false;
    bool cursorsShown = false;
    bool busy = false;
    std::vector<std::string> calls;
};

// Stands in for a channel panel; all panels of a test write into one journal.
class FakeChannelPanel final : public ChannelPanelLink {
public:
    FakeChannelPanel(std::string name, std::vector<std::string>& journal)
        : name_(std::move(name)), journal_(journal) {}
    void refreshValues() override { journal_.push_back(name_ + ".refreshValues"); }
    void refreshReadouts() override { journal_.push_back(name_ + ".refreshReadouts"); }
    void setAcRms(bool on) override {
        acRms = on;
        journal_.push_back(name_ + ".setAcRms");
    }
    void shiftBarChanged() override { journal_.push_back(name_ + ".shiftBarChanged"); }
    double dbReference() const override { return reference; }
    void setDbReference(double millivolts) override { reference = millivolts; }
    std::int32_t load() const override { return ohms; }
    void setLoad(std::int32_t value) override { ohms = value; }

    bool acRms = false;
    double reference = 8400;
    std::int32_t ohms = -1;

private:
    std::string name_;
    std::vector<std::string>& journal_;
};

class FakeDigitalDisplay final : public DigitalDisplayLink {
public:
    void zoomIn() override { calls.push_back("zoomIn"); }
    void zoomOut() override { calls.push_back("zoomOut"); }
    void redraw() override { calls.push_back("redraw"); }
    std::vector<std::string> calls;
};

// The windows of later parts, answering from what the test set.
class FakeModules final : public MainWindowModules {
public:
    std::optional<GalleryChoice> selectWave(const GalleryRequest& request, QWidget*) override {
        galleryRequests.push_back(request);
        return galleryChoice;
    }
    void openDataView(QPoint) override { calls.push_back("openDataView"); }
    void setDataViewVisible(bool visible) override {
        calls.push_back(visible ? "showDataView" : "hideDataView");
    }
    void refreshDataView() override { calls.push_back("refreshDataView"); }
    bool editDigitalWave(QWidget*) override {
        calls.push_back("editDigitalWave");
        return editAccepted;
    }
    bool importFromAscii(QWidget*) override {
        calls.push_back("importFromAscii");
        return importSucceeds;
    }
    std::optional<CommunicationValues> editCommunication(const CommunicationValues& current,
                                                         QWidget*) override {
        shownCommunication = current;
        return communicationChoice;
    }

    std::vector<std::string> calls;
    std::vector<GalleryRequest> galleryRequests;
    std::optional<GalleryChoice> galleryChoice;
    bool editAccepted = true;
    bool importSucceeds = true;
    std::optional<CommunicationValues> shownCommunication;
    std::optional<CommunicationValues> communicationChoice;
};

// The main window on the generator model of a recording driver, with every link plugged in
// and the operator answering message boxes from `answers`.
struct MainWindowRig {
    MainWindowRig() {
        device.driver.initByIndex[{0, 0}] = 1000;
        generator = std::make_unique<TVirtualGenerator>(*device.binding, device.state.modeSource(),
                                                        device.messages);
        resetPredefined(store, 1);
        form = std::make_unique<TMainForm>(device.state, store, device.driver);
        form->attachGenerator(*generator);
        form->setChannelPanels(&panelA, &panelB);
        form->setAnalogDisplays(&displayA, &displayB);
        form->setImportDisplays(&importA, &importB);
        form->setDigitalDisplay(&digital);
        form->setModules(&modules);
        form->setUrlOpener([this](const QUrl& url) {
            opened.push_back(url);
            return desktopOpens;
        });
        state().currentMode = 0;
    }

    AppState& state() { return device.state; }
    Ui::TMainForm& ui() { return form->controls(); }

    DeviceRig<> device{false};
    WaveformStore store;
    RecordingMessages answers;
    ScopedMessageResponder responder{answers};
    std::vector<std::string> journal;
    FakeChannelPanel panelA{"A", journal};
    FakeChannelPanel panelB{"B", journal};
    FakeWaveDisplay displayA;
    FakeWaveDisplay displayB;
    FakeWaveDisplay importA;
    FakeWaveDisplay importB;
    FakeDigitalDisplay digital;
    FakeModules modules;
    std::vector<QUrl> opened;
    // Whether the desktop finds a program for what is opened.
    bool desktopOpens = true;
    std::unique_ptr<TVirtualGenerator> generator;
    std::unique_ptr<TMainForm> form;
};
