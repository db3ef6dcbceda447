#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

#include "digital/DigitalMacro.h"
#include "digital/DigitalStepper.h"
#include "digital/StepEvents.h"

class BusValueDialog;
class MacroValueDialog;
class ProgressReporter;
class QAbstractButton;
class QLineEdit;
class QListWidget;
class QWidget;
class TDigitalWaveScreen;
class UserMessages;

// The controller of the buttons and fields that edit a wave step by step, shared by the digital
// wave editor (its working wave and running queue) and the macro editor (a macro's template,
// without a queue). It wires the zoom and step buttons, the count fields, the net-data panel
// ("Type:", "Counter:", the bindings list, "Explode", "Implode") and the display's selection and
// cell clicks to the digital cores, and shows the wave again after each change. Any control may
// be absent; it is then skipped.
class TDigitalInterface : public QObject {
public:
    struct Controls {
        QAbstractButton* zoomIn = nullptr;       // DigitalZoomInBtn
        QAbstractButton* zoomOut = nullptr;      // DigitalZoomOutBtn
        QAbstractButton* oneStep = nullptr;      // DigitalOneStepBtn
        QAbstractButton* insertStep = nullptr;   // DigitalInsertStepBtn
        QAbstractButton* deleteStep = nullptr;   // DigitalDeleteStepBtn
        QAbstractButton* explode = nullptr;      // DigitalExplodeBusBtn
        QAbstractButton* implode = nullptr;      // DigitalImplodeBusBtn
        QAbstractButton* finishMacro = nullptr;  // DigitalFinishMacroBtn
        QAbstractButton* takeSteps = nullptr;    // TakeStepsBtn
        QAbstractButton* insSteps = nullptr;     // InsStepsBtn
        QAbstractButton* delSteps = nullptr;     // DelStepsBtn
        QLineEdit* takeStepsEdit = nullptr;
        QLineEdit* insStepsEdit = nullptr;
        QLineEdit* delStepsEdit = nullptr;
        QLineEdit* typeEdit = nullptr;        // DigitalTypeEdit
        QLineEdit* counterEdit = nullptr;     // DigitalCounterEdit
        QListWidget* bindingsList = nullptr;  // DigitalBindingsList
    };

    // queue and valueDialog may be absent (the macro editor has neither). tickFrequency gives
    // the instrument's tick frequency for counts written as a time ("0.001s").
    TDigitalInterface(TDigitalWaveScreen& display, TDigitalWave& wave, MacroQueue* queue,
                      Controls controls, UserMessages& messages, ProgressReporter& progress,
                      BusValueDialog& busDialog, MacroValueDialog* valueDialog,
                      std::function<double()> tickFrequency);
    ~TDigitalInterface() override;

    // The owner's events; set before wire().
    StepEvents stepEvents;
    std::function<void()> onPanelRefresh;
    // Before a click changes a cell of the signal; false keeps the cell as it is.
    std::function<bool(int signal)> onBeforeCellChange;
    // After every step operation.
    std::function<void()> onQueueChanged;

    // Connects the controls and the display (once), then refreshes the panel.
    void wire();
    // No button of the window presses on Enter, which belongs to its fields; the value dialogs
    // it owns keep their "Ok".
    static void leaveEnterToFields(QWidget& window);
    // The net-data panel for the display's selected signal.
    void refreshPanel();
    // The display shows the wave again and redraws.
    void showWave();

private:
    // Runs an operation of the operator; an error it raises ("Waveform too long", "Incorrect
    // hexadecimal number") is shown and the wave is shown as far as it got.
    void guarded(const std::function<void()>& operation);
    int selectedSignal() const;
    void explode();
    void implode();
    void editCell(int signal);
    void setCounter();

    TDigitalWaveScreen& display_;
    TDigitalWave& wave_;
    MacroQueue* queue_;
    Controls controls_;
    UserMessages& messages_;
    ProgressReporter& progress_;
    BusValueDialog& busDialog_;
    std::function<double()> tickFrequency_;
    std::unique_ptr<DigitalStepper> stepper_;
};
