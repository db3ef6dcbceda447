#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "import/CursorTracking.h"
#include "import/ReplayFidelity.h"

class AppState;
class ProgressWindow;
class QWidget;
class TChannelScreen;
class TFreqScreen;
class TMainForm;
class TVirtualGenerator;
class UserMessages;
class WaveDisplayLink;
class WaveformRecord;
struct ScopeChannelSource;
struct WaveformStore;

// The import-mode commands "Import from scope" and "Import from ASCII": each asks for a file,
// runs its dialogs and turns the result into the two imported waveforms, which reach the
// instrument, the channel panels, the import tick frequency and the main window's displays.
// After an import the read-out under the imported waves tells how faithful the replay is: the
// recorded sample rate, the rate the instrument produces and their difference, and what of
// the stretch the instrument does not play as recorded.
class ImportCommands : public QObject {
public:
    // Asks for a file to open in `folder`; empty when cancelled.
    using FileNameAsker = std::function<QString(QWidget* parent, const QString& title,
                                                const QString& folder, const QString& filter)>;

    struct Parts {
        AppState& state;
        WaveformStore& store;
        TVirtualGenerator& generator;
        TMainForm& mainForm;
        std::array<TChannelScreen*, 2> channels;
        TFreqScreen& tickFrequency;                // the import-mode tick-frequency panel
        std::array<WaveDisplayLink*, 2> displays;  // the main window's import displays
        ProgressWindow& progress;
        UserMessages& messages;
    };

    explicit ImportCommands(Parts parts);

    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

    // Modal; true when new waveforms were imported.
    bool importFromScope(QWidget* owner);
    // The main window releases the level lock and shows the waveforms after it.
    bool importFromAscii(QWidget* owner);

    // What the read-out shows; nothing before the first import or once the imported waveforms
    // have changed otherwise.
    const std::optional<ReplayFidelity>& fidelity() const { return fidelity_; }

private:
    QString askFile(QWidget* owner, const QString& title, const QString& folder,
                    const QString& filter);
    bool importTwoChannels(QWidget* owner, const ScopeChannelSource& a, const ScopeChannelSource& b,
                           double sampleRate);
    bool importOneChannel(QWidget* owner, const ScopeChannelSource& source, int channel,
                          double sampleRate);
    // Cuts the stretch into the channel's imported waveform and sets the channel from the
    // recording's range and ground.
    ChannelReplay takeStretch(int channel, const ScopeChannelSource& source, CursorPair cursors);
    // The tick frequency becomes the sample rate; the level lock goes on; the displays show the
    // new waveforms.
    void finishScopeImport(double sampleRate, const std::array<ChannelReplay, 2>& channels);
    ChannelReplay replayOf(int channel, std::int64_t markedPoints, double wantedLevel) const;
    void showFidelity(std::optional<ReplayFidelity> fidelity);
    void refreshFidelity();
    WaveformRecord& imported(int channel) const;

    Parts parts_;
    FileNameAsker askFileName_;
    std::optional<ReplayFidelity> fidelity_;
    // The points the read-out speaks of.
    std::array<std::vector<std::uint8_t>, 2> replayed_;
    QString noteHint_;
};
