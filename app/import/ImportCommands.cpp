#include "import/ImportCommands.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>

#include "core/AppState.h"
#include "core/OperatingMode.h"
#include "core/UserMessages.h"
#include "device/VirtualGenerator.h"
#include "import/AsciiWaveform.h"
#include "import/GroundShift.h"
#include "import/ImportCut.h"
#include "import/ImportFromAsciiScreen.h"
#include "import/ImportFromScopeScreen.h"
#include "import/ImportSingleFromScopeScreen.h"
#include "import/ImportTargetRules.h"
#include "import/ImportTargetScreen.h"
#include "import/ScopeImportSource.h"
#include "panels/ChannelScreen.h"
#include "panels/FreqScreen.h"
#include "shell/Main.h"
#include "shell/ProgressWindow.h"
#include "shell/WaveDisplayLink.h"
#include "ui_Main.h"
#include "waves/WaveformStatistics.h"
#include "waves/WaveformStore.h"

namespace {

const char* const RateRefused =
    "Nie je mozne nastavit rovnaku frekvenciu ako bola namerana osciloskopom";
const char* const OtherSizeNotice =
    "Druhy priebeh (na druhom kanale) ma inu velkost.\r\n"
    "Priradujem tento priebeh obom kanalom.";
const QString AllFiles = QStringLiteral("All files (*)");
constexpr std::int32_t ZeroShift = 2048;

}  // namespace

ImportCommands::ImportCommands(Parts parts) : parts_(parts) {
    askFileName_ = [](QWidget* owner, const QString& title, const QString& folder,
                      const QString& filter) {
        return QFileDialog::getOpenFileName(owner, title, folder, filter);
    };
    Ui::TMainForm& ui = parts_.mainForm.controls();
    noteHint_ = ui.ReplayNoteLabel->toolTip();
    // The produced rate follows the tick frequency; a waveform loaded from a file has no
    // recording behind it.
    connect(ui.ITickRealFreqEdit, &QLineEdit::textChanged, this, [this] { refreshFidelity(); });
    connect(ui.Button4, &QPushButton::clicked, this, [this] { refreshFidelity(); });
    connect(ui.Button6, &QPushButton::clicked, this, [this] { refreshFidelity(); });
}

WaveformRecord& ImportCommands::imported(int channel) const {
    return channel == 0 ? parts_.store.importedA : parts_.store.importedB;
}

QString ImportCommands::askFile(QWidget* owner, const QString& title, const QString& folder,
                                const QString& filter) {
    const QString name = askFileName_ ? askFileName_(owner, title, folder, filter) : QString();
    if (!parts_.state.startDirectory.empty())
        QDir::setCurrent(QString::fromStdString(parts_.state.startDirectory));
    return name;
}

// ---------------------------------------------------------------- import from scope

bool ImportCommands::importFromScope(QWidget* owner) {
    if (parts_.generator.currentMode() != ModeImport) return false;
    const QDir start(QString::fromStdString(parts_.state.startDirectory));
    const QString name = askFile(owner, QStringLiteral("Select oscilloscope file"),
                                 start.filePath(QStringLiteral("Export")), AllFiles);
    if (name.isEmpty()) return false;
    const std::optional<ScopeImportSource> source =
        readScopeImport(std::filesystem::path(name.toStdString()), parts_.messages);
    if (!source || source->channels.empty()) return false;
    if (source->channels.size() == 2)
        return importTwoChannels(owner, source->channels[0], source->channels[1],
                                 source->sampleRate);

    const ScopeChannelSource& only = source->channels.front();
    TImportTargetForm targetForm(
        availableImportTargets(only.record.pointCount(), parts_.store.importedA.pointCount()),
        owner);
    switch (targetForm.choose()) {
        case ImportTarget::Both:
            return importTwoChannels(owner, only, only, source->sampleRate);
        case ImportTarget::ChannelA:
            return importOneChannel(owner, only, 0, source->sampleRate);
        case ImportTarget::ChannelB:
            return importOneChannel(owner, only, 1, source->sampleRate);
        case ImportTarget::Cancelled:
            break;
    }
    return false;
}

bool ImportCommands::importTwoChannels(QWidget* owner, const ScopeChannelSource& a,
                                       const ScopeChannelSource& b, double sampleRate) {
    TImportFromScopeForm form(a.record, b.record, parts_.progress, owner);
    if (form.exec() != QDialog::Accepted) return false;
    const std::array<ChannelReplay, 2> channels{takeStretch(0, a, form.cursors(0)),
                                                takeStretch(1, b, form.cursors(1))};
    finishScopeImport(sampleRate, channels);
    return true;
}

bool ImportCommands::importOneChannel(QWidget* owner, const ScopeChannelSource& source, int channel,
                                      double sampleRate) {
    TImportSingleFromScopeForm form(source.record, parts_.store.importedA.pointCount() + 1, owner);
    if (form.exec() != QDialog::Accepted) return false;
    std::array<ChannelReplay, 2> channels{};
    channels[static_cast<std::size_t>(channel)] = takeStretch(channel, source, form.cursors());
    finishScopeImport(sampleRate, channels);
    return true;
}

ChannelReplay ImportCommands::takeStretch(int channel, const ScopeChannelSource& source,
                                          CursorPair cursors) {
    WaveformRecord& target = imported(channel);
    target = cutRecord(source.record, stretchWithinMemory(cursors));
    TVirtualGenerator& generator = parts_.generator;
    generator.ChangeWave(channel, target);
    // An unknown range leaves the level alone: there is nothing to set it from.
    const bool rangeKnown = source.rangeMillivolts > 0;
    if (TChannelScreen* panel = parts_.channels[static_cast<std::size_t>(channel)]) {
        if (rangeKnown) panel->setLevelMillivolts(source.rangeMillivolts);
        // The level's attenuator choice decides which shift code gives the recorded offset.
        const generator::OutputPath path{generator.load(channel), generator.outputState(channel)};
        panel->setShiftCode(
            rangeKnown ? shiftFromGround(path, source.rangeMillivolts, source.ground) : ZeroShift);
    }
    return replayOf(channel, cursorDistance(cursors) - 1, rangeKnown ? source.rangeMillivolts : 0);
}

void ImportCommands::finishScopeImport(double sampleRate,
                                       const std::array<ChannelReplay, 2>& channels) {
    Ui::TMainForm& ui = parts_.mainForm.controls();
    // "Step": moving the scale afterwards must not change what the instrument plays.
    ui.ITickStepFreqBtn->click();
    if (!parts_.tickFrequency.setFrequency(sampleRate)) parts_.messages.error(RateRefused);
    ui.ILockLevelBtn->setChecked(true);
    parts_.mainForm.applyLevelLock();
    for (int channel = 0; channel < 2; ++channel)
        if (WaveDisplayLink* display = parts_.displays[static_cast<std::size_t>(channel)])
            display->showRecord(imported(channel));
    parts_.mainForm.ImportedWaveScreenCursorMove();
    ReplayFidelity fidelity;
    fidelity.recordedRate = sampleRate;
    fidelity.producedRate = parts_.generator.importTickFrequency();
    fidelity.channels = channels;
    showFidelity(fidelity);
}

// ---------------------------------------------------------------- import from ASCII

bool ImportCommands::importFromAscii(QWidget* owner) {
    if (parts_.generator.currentMode() != ModeImport) return false;
    const QString name = askFile(owner, QStringLiteral("Select ASCII file"),
                                 QString::fromStdString(parts_.state.startDirectory), AllFiles);
    if (name.isEmpty()) return false;
    TImportFromAsciiForm form(parts_.progress, owner);
    // The reading shows its progress and keeps the window alive: no second import meanwhile.
    QWidget* operations = parts_.mainForm.controls().GroupBox20;
    operations->setEnabled(false);
    const bool opened = form.openFile(std::filesystem::path(name.toStdString()));
    operations->setEnabled(true);
    if (!opened) return false;
    if (form.exec() != QDialog::Accepted) return false;

    const int target = form.target();
    const int other = 1 - target;
    copyRecord(form.workRecord(), imported(target));
    const bool copied = imported(other).pointCount() != imported(target).pointCount();
    if (copied) {
        parts_.messages.information(OtherSizeNotice);
        copyRecord(imported(target), imported(other));
    }
    computeStatistics(parts_.store.importedA);
    computeStatistics(parts_.store.importedB);
    parts_.generator.ChangeWave(0, parts_.store.importedA);
    parts_.generator.ChangeWave(1, parts_.store.importedB);

    const AsciiSamples& samples = form.work().samples;
    const TImportFromAsciiForm::LevelChoice choice = form.levelChoice();
    double amplitude = 0;
    if (choice != TImportFromAsciiForm::LevelChoice::DontSet) {
        const bool millivolts = choice == TImportFromAsciiForm::LevelChoice::Millivolts;
        amplitude = asciiAmplitudeMillivolts(samples, millivolts);
        TChannelScreen* panel = parts_.channels[static_cast<std::size_t>(target)];
        if (panel) panel->setLevelMillivolts(amplitude);
        const bool attenuated = parts_.generator.outputState(target) == generator::OutputMinus20dB;
        const std::int32_t shift = asciiShiftCode(samples, millivolts, attenuated);
        if (panel) panel->setShiftCode(shift);
        if (TChannelScreen* second = parts_.channels[static_cast<std::size_t>(other)];
            copied && second) {
            second->setShiftCode(shift);
            second->setLevelMillivolts(amplitude);
        }
    }

    ReplayFidelity fidelity;
    fidelity.producedRate = parts_.generator.importTickFrequency();
    // Without normalising, values outside 0-255 were limited to the ends.
    const bool limited =
        !form.normalizedLoad() && (samples.maximum >= 255.5 || samples.minimum < -0.5);
    for (int channel : {target, other}) {
        if (channel == other && !copied) continue;
        const std::int64_t points = imported(channel).pointCount();
        ChannelReplay replay = replayOf(channel, points, amplitude);
        replay.samplesLimited = limited;
        fidelity.channels[static_cast<std::size_t>(channel)] = replay;
    }
    showFidelity(fidelity);
    return true;
}

// ---------------------------------------------------------------- fidelity read-out

ChannelReplay ImportCommands::replayOf(int channel, std::int64_t markedPoints,
                                       double wantedLevel) const {
    const TVirtualGenerator& generator = parts_.generator;
    ChannelReplay replay;
    replay.imported = true;
    replay.markedPoints = markedPoints;
    replay.playedPoints = imported(channel).pointCount();
    const generator::OutputPath path{generator.load(channel), generator.outputState(channel)};
    replay.clippedPoints = pointsBeyondOutput(imported(channel).points, path,
                                              generator.level(channel), generator.shift(channel));
    replay.wantedLevelMillivolts = wantedLevel;
    replay.levelMillivolts = generator.LevelVolts(channel, generator.level(channel));
    return replay;
}

void ImportCommands::showFidelity(std::optional<ReplayFidelity> fidelity) {
    fidelity_ = std::move(fidelity);
    Ui::TMainForm& ui = parts_.mainForm.controls();
    if (!fidelity_) {
        ui.ReplayRateLabel->clear();
        ui.ReplayNoteLabel->clear();
        ui.ReplayNoteLabel->setToolTip(noteHint_);
        return;
    }
    replayed_ = {parts_.store.importedA.points, parts_.store.importedB.points};
    ui.ReplayRateLabel->setText(QString::fromStdString(replayRateText(*fidelity_)));
    ui.ReplayNoteLabel->setText(QString::fromStdString(replayNoteText(*fidelity_)));
    // The whole note, when it is longer than the label.
    ui.ReplayNoteLabel->setToolTip(noteHint_ + QStringLiteral(":\n") + ui.ReplayNoteLabel->text());
}

void ImportCommands::refreshFidelity() {
    if (!fidelity_) return;
    if (replayed_[0] != parts_.store.importedA.points ||
        replayed_[1] != parts_.store.importedB.points) {
        showFidelity(std::nullopt);
        return;
    }
    ReplayFidelity fidelity = *fidelity_;
    fidelity.producedRate = parts_.generator.importTickFrequency();
    showFidelity(fidelity);
}
