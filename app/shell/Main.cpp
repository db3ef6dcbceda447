#include "shell/Main.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QVariant>
#include <algorithm>
#include <filesystem>

#include "shell/AboutScreen.h"
#include "core/AppState.h"
#include "shell/ChannelPanelLink.h"
#include "core/CursorReadouts.h"
#include "core/ReadmeFile.h"
#include "shell/DigitalDisplayLink.h"
#include "shell/DockScreen.h"
#include "shell/MainWindowModules.h"
#include "core/UnitFormat.h"
#include "shell/WaveDisplayLink.h"
#include "shell/WindowPlacement.h"
#include "device/DriverApi.h"
#include "device/VirtualGenerator.h"
#include "ui_Main.h"
#include "waves/GawFile.h"
#include "waves/WaveformStore.h"

namespace {

constexpr int ClientWidth = 792;
constexpr int ClientHeight = 554;
constexpr int PeriodPoints = 16384;

const char* const ExitQuestion = "Naozaj chcete opustit program ?";
const char* const RestartNotice = "Zmeny sa premietnu po restarte programu.";
const char* const OtherSizeNotice =
    "Druhy priebeh (na druhom kanale) ma inu velkost.\r\n"
    "Priradujem tento priebeh obom kanalom.";
const char* const ReadmeMissing = "Subor readme chyba";
const char* const CannotOpenFile = "Nie je mozne otvorit subor: ";

// The mode mask of a control placed directly on the main window; 0 for the controls that the
// mode switch never touches.
int modeMask(const QWidget& control) {
    return control.property("tag").toInt();
}

// The edge buttons of the trigger box: a rising or a falling step.
QIcon edgeIcon(bool rising) {
    QPixmap pixmap(18, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 1.5));
    const int low = 12;
    const int high = 2;
    const int first = rising ? low : high;
    const int second = rising ? high : low;
    painter.drawLine(1, first, 9, first);
    painter.drawLine(9, first, 9, second);
    painter.drawLine(9, second, 17, second);
    return QIcon(pixmap);
}

bool insideOnScreen(const QWidget& widget, QPoint globalPosition) {
    const QPoint topLeft = widget.mapToGlobal(QPoint(0, 0));
    return insideWithMargin(globalPosition.x(), globalPosition.y(), topLeft.x(), topLeft.y(),
                            widget.width(), widget.height());
}

void showReadout(const CursorReadout& readout, QLabel* deltaX, QLabel* time, QLabel* frequency,
                 QLabel* deltaY, QLabel* volts, QLabel* absolute) {
    deltaX->setText(QString::fromStdString(readout.deltaX));
    time->setText(QString::fromStdString(readout.deltaXTime));
    if (readout.deltaXFrequency)
        frequency->setText(QString::fromStdString(*readout.deltaXFrequency));
    deltaY->setText(QString::fromStdString(readout.deltaY));
    volts->setText(QString::fromStdString(readout.deltaYVolts));
    absolute->setText(QString::fromStdString(readout.deltaYAbsolute));
}

}  // namespace

TMainForm::TMainForm(AppState& state, WaveformStore& store, DriverApi& driver, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      store_(store),
      driver_(driver),
      ui(std::make_unique<Ui::TMainForm>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ui->ClientArea->setFixedSize(ClientWidth, ClientHeight);
    centerOnScreen(*this);
    setFixedSize(size());

    ui->TriggerLeadBtn->setIcon(edgeIcon(true));
    ui->TriggerTrailBtn->setIcon(edgeIcon(false));

    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    askFileName_ = [](QWidget* owner, const QString& title, const QString& filter, bool save) {
        return save ? QFileDialog::getSaveFileName(owner, title, QString(), filter)
                    : QFileDialog::getOpenFileName(owner, title, QString(), filter);
    };

    undockableBoxes_ = {ui->FrequencyBox, ui->GroupBox1,  ui->GroupBox7,  ui->GroupBox13,
                        ui->GroupBox14,   ui->GroupBox15, ui->GroupBox16, ui->GroupBox17,
                        ui->GroupBox18,   ui->GroupBox19, ui->GroupBox20};
    // Every mouse move of the application decides whether the analog cursors stay drawn; the
    // same filter sees the double-clicks that undock the boxes.
    qApp->installEventFilter(this);
    connectControls();
}

TMainForm::~TMainForm() {
    // The undocked windows are children of this window; give their boxes back first so that
    // nothing refers to a box inside a window being freed.
    qApp->removeEventFilter(this);
    closeUndockedWindows();
}

QWidget* TMainForm::clientArea() const {
    return ui->ClientArea;
}

// ---------------------------------------------------------------- collaborators

void TMainForm::attachGenerator(TVirtualGenerator& generator) {
    generator_ = &generator;
    generator.setFilterChoice(this);
    generator.OnChange = [this](TVirtualGenerator&) { WaveScreenCursorMove(); };
    generator.OnWave = [this](TVirtualGenerator&, int channel) { WaveFormChanged(channel); };
    generator.OnZeroLine = [this](TVirtualGenerator&, int channel, int value) {
        WaveFormNullMoved(channel, value);
    };
    generator.OnFrequency = [this](TVirtualGenerator&) { HorizontalChanged(); };
    generator.OnChannel = [this](TVirtualGenerator&, int channel) { VerticalChanged(channel); };
    generator.OnTickFrequency = [this](TVirtualGenerator&) { TickFrequencyChange(); };
    generator.OnImportTickFrequency = [this](TVirtualGenerator&) {
        ImportedWaveScreenCursorMove();
    };
}

void TMainForm::setChannelPanels(ChannelPanelLink* panelA, ChannelPanelLink* panelB) {
    channelPanels_ = {panelA, panelB};
}

void TMainForm::setAnalogDisplays(WaveDisplayLink* displayA, WaveDisplayLink* displayB) {
    analogDisplays_ = {displayA, displayB};
}

void TMainForm::setImportDisplays(WaveDisplayLink* displayA, WaveDisplayLink* displayB) {
    importDisplays_ = {displayA, displayB};
}

void TMainForm::setDigitalDisplay(DigitalDisplayLink* display) {
    digitalDisplay_ = display;
}

void TMainForm::setModules(MainWindowModules* modules) {
    modules_ = modules;
}

void TMainForm::setUrlOpener(UrlOpener opener) {
    openUrl_ = std::move(opener);
}

void TMainForm::setFileNameAsker(FileNameAsker asker) {
    askFileName_ = std::move(asker);
}

WaveDisplayLink* TMainForm::analogDisplay(int channel) const {
    return analogDisplays_[channel == 0 ? 0 : 1];
}

WaveDisplayLink* TMainForm::importDisplay(int channel) const {
    return importDisplays_[channel == 0 ? 0 : 1];
}

ChannelLevel TMainForm::channelLevel(int channel) const {
    const WaveformRecord* wave = generator_->Wave(channel);
    return {generator_->LevelVolts(channel, generator_->level(channel)),
            wave ? wave->peakToPeak : 0};
}

ChannelPanelLink* TMainForm::channelPanel(int channel) const {
    return channelPanels_[channel == 0 ? 0 : 1];
}

// ---------------------------------------------------------------- controls

void TMainForm::connectControls() {
    connect(ui->Exit1, &QAction::triggered, this, &QWidget::close);
    connect(ui->Analogmode1, &QAction::triggered, this, [this] { selectMode(ModeAnalog); });
    connect(ui->Digitalmode1, &QAction::triggered, this, [this] { selectMode(ModeDigital); });
    connect(ui->ImportfromQ726mode1, &QAction::triggered, this, [this] { selectMode(ModeImport); });
    connect(ui->Harmonics1, &QAction::triggered, this, &TMainForm::openDataView);
    connect(ui->Forcedigitaloutputs1, &QAction::triggered, this, [this](bool checked) {
        if (generator_) generator_->ChangeDigitalOutputs(checked ? 1 : 0);
    });
    connect(ui->VRmsfromAC1, &QAction::triggered, this, [this](bool checked) {
        for (ChannelPanelLink* panel : channelPanels_) {
            if (!panel) continue;
            panel->setAcRms(checked);
            panel->refreshReadouts();
        }
    });
    connect(ui->Autofilter1, &QAction::triggered, this, [this](bool checked) {
        if (generator_) generator_->ChangeAutoFilter(checked);
    });
    connect(ui->Communication1, &QAction::triggered, this, &TMainForm::editCommunication);
    connect(ui->Openprofile1, &QAction::triggered, this, [this] {
        if (modules_) modules_->openProfile();
    });
    connect(ui->Saveprofile1, &QAction::triggered, this, [this] {
        if (modules_) modules_->saveProfile();
    });
    connect(ui->Checkforupdates1, &QAction::triggered, this, [this] {
        if (modules_) modules_->checkForUpdates();
    });
    connect(ui->Downloadupdate1, &QAction::triggered, this, [this] {
        if (modules_) modules_->downloadUpdate();
    });
    connect(ui->Internetsettings1, &QAction::triggered, this, [this] {
        if (modules_) modules_->internetSettings();
    });
    connect(ui->Help2, &QAction::triggered, this, &TMainForm::openHelp);
    connect(ui->Viewreadme1, &QAction::triggered, this, &TMainForm::viewReadme);
    connect(ui->About1, &QAction::triggered, this, &TMainForm::showAbout);

    connect(ui->SelWaveABtn, &QPushButton::clicked, this, [this] { selectWave(0); });
    connect(ui->SelWaveBBtn, &QPushButton::clicked, this, [this] { selectWave(1); });
    connect(ui->PhaseSetBtn, &QToolButton::clicked, this, &TMainForm::PhaseSetBtnClick);
    connect(ui->PhaseEdit, &QLineEdit::textEdited, this, [this] {
        if (ui->PhaseSetBtn->isChecked()) setPhaseFieldColor(true);
    });
    connect(ui->PhaseEdit, &QLineEdit::returnPressed, this, [this] {
        setPhaseFromField();
        ui->PhaseEdit->selectAll();
    });
    connect(ui->SetPhaseBtn, &QToolButton::clicked, this, &TMainForm::setPhaseFromField);

    connect(ui->ILockLevelBtn, &QToolButton::clicked, this, &TMainForm::applyLevelLock);
    connect(ui->Button2, &QPushButton::clicked, this, [this] {
        if (modules_) modules_->importFromScope(this);
    });
    connect(ui->Button3, &QPushButton::clicked, this, &TMainForm::importFromAscii);
    connect(ui->Button4, &QPushButton::clicked, this, [this] { loadImportedWave(0); });
    connect(ui->Button6, &QPushButton::clicked, this, [this] { loadImportedWave(1); });
    connect(ui->Button5, &QPushButton::clicked, this, [this] { saveImportedWave(0); });
    connect(ui->Button7, &QPushButton::clicked, this, [this] { saveImportedWave(1); });

    connect(ui->DigitalZoomInBtn, &QToolButton::clicked, this, [this] {
        if (digitalDisplay_) digitalDisplay_->zoomIn();
    });
    connect(ui->DigitalZoomOutBtn, &QToolButton::clicked, this, [this] {
        if (digitalDisplay_) digitalDisplay_->zoomOut();
    });
    connect(ui->Button1, &QPushButton::clicked, this, [this] {
        if (modules_ && modules_->editDigitalWave(this) && digitalDisplay_)
            digitalDisplay_->redraw();
    });
}

void TMainForm::disableUpdates() {
    ui->Updates1->menuAction()->setEnabled(false);
}

void TMainForm::showDemoMode() {
    setWindowTitle(QStringLiteral("Q745 - demo"));
}

int TMainForm::shownFilter(int channel) const {
    return (channel == 0 ? ui->FilterBoxA : ui->FilterBoxB)->currentIndex();
}

void TMainForm::chooseFilter(int channel, int filter) {
    (channel == 0 ? ui->FilterBoxA : ui->FilterBoxB)->setCurrentIndex(filter);
}

// ---------------------------------------------------------------- modes

void TMainForm::selectMode(int mode) {
    setMode(mode);
    if (mode != ModeDigital) applyModeLevels();
}

void TMainForm::setMode(int mode) {
    const int old = state_.currentMode;
    state_.currentMode = mode;
    ui->Analogmode1->setChecked(mode == ModeAnalog);
    ui->Digitalmode1->setChecked(mode == ModeDigital);
    ui->ImportfromQ726mode1->setChecked(mode == ModeImport);
    if (mode != old) closeUndockedWindows();
    for (QWidget* control : ui->ClientArea->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const int mask = modeMask(*control);
        if (mask != 0) control->setVisible((mask & mode) == mode);
    }
    if (state_.dataViewOpen && modules_) modules_->setDataViewVisible(mode == ModeAnalog);
    if (generator_) generator_->ApplyMode(false);
}

void TMainForm::applyChannelLevel(int channel, int levelCode) {
    QScrollBar* bar = channel == 0 ? ui->LevelBarA : ui->LevelBarB;
    bar->setValue(bar->maximum() - levelCode);
}

void TMainForm::applyChannelOutput(int channel, int outputState) {
    QAbstractButton* button = nullptr;
    if (outputState == 0) button = channel == 0 ? ui->OutputOffBtnA : ui->OutputOffBtnB;
    if (outputState == 1) button = channel == 0 ? ui->Output0BtnA : ui->Output0BtnB;
    if (outputState == 2) button = channel == 0 ? ui->Output20BtnA : ui->Output20BtnB;
    if (!button) return;
    button->setChecked(true);
    button->click();
}

void TMainForm::applyModeLevels() {
    if (!state_.settingsLoaded || state_.currentMode == ModeDigital) return;
    ui->LevelBarA->setEnabled(true);
    ui->LevelBarB->setEnabled(true);
    if (state_.currentMode == ModeImport) {
        // Read before anything moves: the bars' handling reports back through VerticalChanged.
        const int levelA = state_.importLevelA;
        const int levelB = state_.importLevelB;
        const int outputA = state_.importOutputA;
        const int outputB = state_.importOutputB;
        applyChannelLevel(0, levelA);
        applyChannelLevel(1, levelB);
        applyChannelOutput(0, outputA);
        applyChannelOutput(1, outputB);
        applyLevelLock();
    }
    for (ChannelPanelLink* panel : channelPanels_)
        if (panel) panel->refreshValues();
    if (generator_) {
        WaveFormNullMoved(0, generator_->ZeroLine(0));
        WaveFormNullMoved(1, generator_->ZeroLine(1));
    }
    for (ChannelPanelLink* panel : channelPanels_)
        if (panel) panel->shiftBarChanged();
    WaveScreenCursorMove();
}

void TMainForm::applyLevelLock() {
    if (state_.currentMode != ModeImport) return;
    const bool enabled = !ui->ILockLevelBtn->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(ui->LevelBarA), static_cast<QWidget*>(ui->LevelBarB),
          static_cast<QWidget*>(ui->VppEditA), static_cast<QWidget*>(ui->VppEditB),
          static_cast<QWidget*>(ui->dBEditA), static_cast<QWidget*>(ui->dBEditB)})
        control->setEnabled(enabled);
}

// ---------------------------------------------------------------- the generator model's events

void TMainForm::WaveScreenCursorMove() {
    if (!state_.appReady || !generator_) return;
    const double frequency = generator_->ModeFrequency();
    const int multiplier = generator_->multiplier();
    const int octave = generator_->sampleStep();
    for (int channel = 0; channel < 2; ++channel) {
        WaveDisplayLink* display = analogDisplay(channel);
        if (!display) continue;
        // Both displays show one period of 16384 points; channel B's at the multiplied
        // frequency. The octave factor changes how many of them are played, not their time.
        const CursorReadout readout = analogCursorReadout(
            display->cursors(), channelLevel(channel), frequency, 1, channel == 0 ? 1 : multiplier);
        if (channel == 0)
            showReadout(readout, ui->DeltaXLabelA, ui->DeltaXTimeLabelA, ui->DeltaXFreqLabelA,
                        ui->DeltaYLabelA, ui->DeltaYVLabelA, ui->DeltaYAbsLabelA);
        else
            showReadout(readout, ui->DeltaXLabelB, ui->DeltaXTimeLabelB, ui->DeltaXFreqLabelB,
                        ui->DeltaYLabelB, ui->DeltaYVLabelB, ui->DeltaYAbsLabelB);
    }
    int phase = generator_->phaseB();
    {
        // Display B's and the data view's reactions must not come back here.
        const QScopedValueRollback notReady(state_.appReady, false);
        WaveDisplayLink* displayB = analogDisplay(1);
        if (displayB) {
            displayB->setPhase(displayB->phase());
            const long long quantum = static_cast<long long>(octave) * multiplier;
            if (ui->PhaseSetBtn->isChecked() || quantum != lastPhaseQuantum_) {
                displayB->redraw();
                lastPhaseQuantum_ = quantum;
            }
        }
        if (state_.dataViewOpen && modules_) modules_->refreshDataView();
        if (displayB) phase = displayB->phase();
    }
    ui->PhaseEdit->setText(QString::fromStdString(phaseDegreesText(phase)));
}

void TMainForm::ImportedWaveScreenCursorMove() {
    if (!state_.appReady || !generator_ || store_.importedA.isEmpty() || store_.importedB.isEmpty())
        return;
    const double frequency = generator_->ModeFrequency();
    if (const auto repetition = importRepetitionText(frequency, store_.importedA.pointCount()))
        ui->WaveFreq->setText(QString::fromStdString(*repetition));
    for (int channel = 0; channel < 2; ++channel) {
        WaveDisplayLink* display = importDisplay(channel);
        if (!display) continue;
        const WaveformRecord& record = channel == 0 ? store_.importedA : store_.importedB;
        const CursorReadout readout = importCursorReadout(display->cursors(), channelLevel(channel),
                                                          frequency, record.pointCount());
        if (channel == 0)
            showReadout(readout, ui->IDeltaXALabel, ui->IDeltaXTimeALabel, ui->IDeltaXFreqALabel,
                        ui->IDeltaYALabel, ui->IDeltaYUALabel, ui->IAbsYALabel);
        else
            showReadout(readout, ui->IDeltaXBLabel, ui->IDeltaXTimeBLabel, ui->IDeltaXFreqBLabel,
                        ui->IDeltaYBLabel, ui->IDeltaYUBLabel, ui->IAbsYBLabel);
    }
}

void TMainForm::WaveFormChanged(int channel) {
    if (!state_.appReady) return;
    ChannelPanelLink* panel = channelPanel(channel);
    if (panel) panel->refreshValues();
    // The relative dB reference becomes the new waveform's level.
    (channel == 0 ? ui->SetDBBtnA : ui->SetDBBtnB)->click();
    if (panel) panel->refreshReadouts();
    if (state_.dataViewOpen && modules_) modules_->refreshDataView();
}

void TMainForm::WaveFormNullMoved(int channel, int position) {
    WaveDisplayLink* display = nullptr;
    if (state_.currentMode == ModeAnalog) display = analogDisplay(channel);
    if (state_.currentMode == ModeImport) display = importDisplay(channel);
    if (display) display->setZeroMark(position);
}

void TMainForm::HorizontalChanged() {
    if (!state_.appReady) return;
    showCursorsWhileChanging();
}

// Both channels are remembered whichever channel changed.
void TMainForm::VerticalChanged(int /*channel*/) {
    if (!state_.appReady) return;
    if (state_.currentMode == ModeAnalog) {
        showCursorsWhileChanging();
        // The data view's voltages follow the level.
        if (state_.dataViewOpen && modules_) modules_->refreshDataView();
    } else if (state_.currentMode == ModeImport) {
        state_.importLevelA = ui->LevelBarA->maximum() - ui->LevelBarA->value();
        state_.importLevelB = ui->LevelBarB->maximum() - ui->LevelBarB->value();
        if (generator_) {
            state_.importOutputA = generator_->outputState(0);
            state_.importOutputB = generator_->outputState(1);
        }
    }
}

void TMainForm::TickFrequencyChange() {
    if (!state_.appReady) return;
    if (digitalDisplay_) digitalDisplay_->redraw();
}

// ---------------------------------------------------------------- cursors and pointer

void TMainForm::showCursorsWhileChanging() {
    if (cursorsShownByChange_) return;
    for (WaveDisplayLink* display : analogDisplays_)
        if (display) display->showCursors();
    cursorsShownByChange_ = true;
}

void TMainForm::WaveAMouseOver() {
    displayUnderPointer_ = 0;
}

void TMainForm::WaveBMouseOver() {
    displayUnderPointer_ = 1;
}

void TMainForm::pointerMoved(QPoint globalPosition) {
    if (cursorsShownByChange_) {
        if (!insideOnScreen(*ui->GroupBox17, globalPosition) &&
            !insideOnScreen(*ui->DockSite1, globalPosition)) {
            for (WaveDisplayLink* display : analogDisplays_)
                if (display) display->hideCursors();
            cursorsShownByChange_ = false;
        }
        return;
    }
    if (displayUnderPointer_ < 0) return;
    const QWidget* picture = displayUnderPointer_ == 0 ? ui->WaveformA : ui->WaveformB;
    const QRect onScreen(picture->mapToGlobal(QPoint(0, 0)), picture->size());
    if (onScreen.contains(globalPosition)) return;
    WaveDisplayLink* display = analogDisplay(displayUnderPointer_);
    displayUnderPointer_ = -1;
    if (display) display->pointerLeft();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        pointerMoved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        auto* box = qobject_cast<QGroupBox*>(watched);
        const auto found = std::find(undockableBoxes_.begin(), undockableBoxes_.end(), box);
        // Only a double-click on the box itself, not on one of its controls, and only while
        // the box sits on the main window.
        if (found != undockableBoxes_.end() && box->parentWidget() == ui->ClientArea) {
            const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (box->childAt(position) == nullptr) {
                undockGroupBox(*box);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- channel-B phase

void TMainForm::setPhaseFieldColor(bool grabbing) {
    QPalette palette = ui->PhaseEdit->parentWidget()->palette();
    if (grabbing) palette.setColor(QPalette::Base, Qt::red);
    ui->PhaseEdit->setPalette(palette);
}

void TMainForm::PhaseSetBtnClick() {
    const bool grab = ui->PhaseSetBtn->isChecked();
    if (grab) {
        for (WaveDisplayLink* display : analogDisplays_)
            if (display) display->setPhaseGrab(true);
        return;
    }
    WaveDisplayLink* displayB = analogDisplay(1);
    if (generator_ && displayB) generator_->ChangePhase(displayB->phase());
    setPhaseFieldColor(false);
    for (WaveDisplayLink* display : analogDisplays_)
        if (display) display->setPhaseGrab(false);
    if (displayB) displayB->redraw();
}

void TMainForm::setPhaseFromField() {
    const std::optional<int> points = phasePointsFromText(ui->PhaseEdit->text().toStdString());
    if (!points) return;
    WaveDisplayLink* displayB = analogDisplay(1);
    int phase = *points;
    if (displayB) {
        displayB->setPhase(phase);
        phase = displayB->phase();
    }
    if (generator_) generator_->ChangePhase(phase);
    setPhaseFieldColor(false);
    if (displayB) displayB->redraw();
}

// ---------------------------------------------------------------- waveforms

void TMainForm::selectWave(int channel) {
    if (!modules_ || !generator_) return;
    const int multiplier = generator_->multiplier();
    int octave = generator_->sampleStep();
    double frequency = generator_->ModeFrequency();
    if (channel == 1) {
        octave *= multiplier;
        frequency *= multiplier;
    }
    WaveDisplayLink* display = analogDisplay(channel);
    MainWindowModules::GalleryRequest request;
    request.channel = channel;
    request.slotA = state_.waveIndexA + 1;
    request.slotB = state_.waveIndexB + 1;
    request.phase = display ? display->phase() : 0;
    request.octave = octave;
    request.pointsPerPeriod = octave > 0 ? PeriodPoints / octave : PeriodPoints;
    request.frequency = frequency;

    std::optional<MainWindowModules::GalleryChoice> choice;
    {
        for (WaveDisplayLink* each : analogDisplays_)
            if (each) each->setBusy(true);
        choice = modules_->selectWave(request, this);
        for (WaveDisplayLink* each : analogDisplays_)
            if (each) each->setBusy(false);
    }
    if (!choice || choice->slot < 1 || choice->slot > kStoreSlotCount) return;

    const auto showSlot = [this](int shownChannel) {
        const int index = shownChannel == 0 ? state_.waveIndexA : state_.waveIndexB;
        const WaveformRecord& record = store_.slots[static_cast<std::size_t>(index)];
        if (WaveDisplayLink* shown = analogDisplay(shownChannel))
            shown->showRecord(record);
        else
            generator_->ChangeWave(shownChannel, record);
    };
    (channel == 0 ? state_.waveIndexA : state_.waveIndexB) = choice->slot - 1;
    showSlot(channel);
    if (choice->otherChanged) showSlot(1 - channel);
    if (channel == 0) generator_->ChangeAutoFilter(ui->Autofilter1->isChecked());
}

QString TMainForm::askWaveFileName(const QString& title, bool save) {
    QString name = askFileName_
                       ? askFileName_(this, title, QStringLiteral("Analog wave (*.gaw)"), save)
                       : QString();
    if (!state_.startDirectory.empty())
        QDir::setCurrent(QString::fromStdString(state_.startDirectory));
    if (!name.isEmpty() && fileExtension(name.toStdString()).empty())
        name += QStringLiteral(".gaw");
    return name;
}

void TMainForm::saveImportedWave(int channel) {
    const QString name = askWaveFileName(QStringLiteral("Save imported wave"), true);
    if (name.isEmpty()) return;
    exportRecord(channel == 0 ? store_.importedA : store_.importedB,
                 std::filesystem::path(name.toStdString()), messages_);
}

void TMainForm::loadImportedWave(int channel) {
    const QString name = askWaveFileName(QStringLiteral("Load imported wave"), false);
    if (name.isEmpty()) return;
    WaveformRecord& loaded = channel == 0 ? store_.importedA : store_.importedB;
    WaveformRecord& other = channel == 0 ? store_.importedB : store_.importedA;
    if (!importRecord(loaded, std::filesystem::path(name.toStdString()), false, messages_)) return;
    if (store_.importedA.pointCount() != store_.importedB.pointCount()) {
        messages_.information(OtherSizeNotice);
        copyRecord(loaded, other);
    }
    if (generator_) {
        generator_->ChangeWave(0, store_.importedA);
        generator_->ChangeWave(1, store_.importedB);
    }
    showImportedWaves();
}

void TMainForm::importFromAscii() {
    if (!modules_ || !modules_->importFromAscii(this)) return;
    ui->ILockLevelBtn->setChecked(false);
    applyLevelLock();
    showImportedWaves();
}

void TMainForm::showImportedWaves() {
    if (WaveDisplayLink* display = importDisplay(0)) display->showRecord(store_.importedA);
    if (WaveDisplayLink* display = importDisplay(1)) display->showRecord(store_.importedB);
    // The cursors now measure the new waveforms.
    ImportedWaveScreenCursorMove();
}

// ---------------------------------------------------------------- menu

void TMainForm::openDataView() {
    if (state_.currentMode != ModeAnalog || state_.dataViewOpen || !modules_) return;
    modules_->openDataView(QCursor::pos());
    state_.dataViewOpen = true;
}

void TMainForm::editCommunication() {
    if (!modules_) return;
    const MainWindowModules::CommunicationValues current{state_.baseAddressIndex,
                                                         state_.portAddress, state_.useUsb};
    const auto chosen = modules_->editCommunication(current, this);
    if (!chosen || *chosen == current) return;
    messages_.information(RestartNotice);
    state_.baseAddressIndex = chosen->baseAddressIndex;
    state_.portAddress = chosen->portAddress;
    state_.useUsb = chosen->useUsb;
}

// A help file that is missing or that nothing on the desktop opens is named in a message: the
// desktop itself would only say so on standard error.
void TMainForm::openHelp() {
    const QString file =
        QDir(QString::fromStdString(state_.startDirectory)).filePath(QStringLiteral("q745.hlp"));
    if (!QFileInfo::exists(file) || !openUrl_ || !openUrl_(QUrl::fromLocalFile(file)))
        messages_.error(CannotOpenFile + QDir::toNativeSeparators(file).toStdString());
}

void TMainForm::viewReadme() {
    const QFileInfo file(QString::fromStdString(readmeFileName(driver_.GetVersionCode())));
    const bool exists = file.exists();
    if (!exists) messages_.error(ReadmeMissing);
    const bool opened = openUrl_ && openUrl_(QUrl::fromLocalFile(file.absoluteFilePath()));
    if (exists && !opened)
        messages_.error(CannotOpenFile +
                        QDir::toNativeSeparators(file.absoluteFilePath()).toStdString());
}

void TMainForm::showAbout() {
    std::array<std::uint8_t, 2> version{};
    const std::uint8_t result = driver_.GetDriverVersion(state_.useUsb ? 1 : 0, version.data());
    TAboutForm about(programVersionText(state_.programVersion[0], state_.programVersion[1]),
                     driverVersionText(result, version), openUrl_, this);
    about.exec();
}

// ---------------------------------------------------------------- undocking

void TMainForm::undockGroupBox(QGroupBox& box) {
    const QPoint home = box.pos();
    const QPoint position = pos() + home;
    auto* window = new TDockForm(box, home, static_cast<int>(undocked_.size()), this);
    window->move(position);
    connect(window, &TDockForm::showMainRequested, this, &QWidget::show);
    connect(window, &TDockForm::hideMainRequested, this, &QWidget::hide);
    connect(window, &TDockForm::closing, this, &TMainForm::dockClosing);
    undocked_.push_back(window);
    window->show();
}

void TMainForm::dockClosing(TDockForm* window) {
    const auto found = std::find(undocked_.begin(), undocked_.end(), window);
    if (found == undocked_.end()) return;
    QGroupBox& box = window->box();
    box.setParent(ui->ClientArea);
    box.move(window->homePosition());
    box.show();
    undocked_.erase(found);
    for (std::size_t i = 0; i < undocked_.size(); ++i)
        undocked_[i]->setIndex(static_cast<int>(i));
    if (undocked_.empty()) show();
}

void TMainForm::closeUndockedWindows() {
    while (!undocked_.empty()) {
        TDockForm* first = undocked_.front();
        first->close();
        // A window that refused to close must not keep the loop going.
        if (!undocked_.empty() && undocked_.front() == first) dockClosing(first);
    }
}

// ---------------------------------------------------------------- window

void TMainForm::activateFromAnotherCopy() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TMainForm::useSmallScreenLayout() {
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("ClientScroller"));
    scroller->setWidget(takeCentralWidget());
    setCentralWidget(scroller);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(640, 480);
    moveToScreenCenter(*this);
}

void TMainForm::closeWithoutConfirmation() {
    confirmClose_ = false;
    close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (confirmClose_ && messageBox(ExitQuestion, MessageKind::Warning, MessageButtons::YesNo) ==
                             MessageResult::No) {
        event->ignore();
        return;
    }
    closeUndockedWindows();
    event->accept();
    Q_EMIT closed();
}
