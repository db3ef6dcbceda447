#pragma once

#include <QPoint>
#include <optional>

class QWidget;

// The windows of other parts that the main window's menu and buttons open (gallery, data view,
// digital editor, import dialogs, communication dialog, update object, profiles). Whoever
// builds those parts plugs them in here; an entry that is not plugged in does nothing.
class MainWindowModules {
public:
    // Slots are numbered from 1 as the gallery shows them.
    struct GalleryRequest {
        int channel = 0;  // 0 A, 1 B: the channel that asks
        int slotA = 1;
        int slotB = 1;
        int phase = 0;            // of the asking channel's display, in points
        int octave = 1;           // octave factor k (for B: k times the multiplier)
        int pointsPerPeriod = 0;  // 16384 / octave
        double frequency = 0;     // Hz (for B: times the multiplier)
    };
    struct GalleryChoice {
        int slot = 1;
        bool otherChanged = false;  // the other channel's slot was edited too
    };
    struct CommunicationValues {
        int baseAddressIndex = 0;
        int portAddress = 0x378;
        bool useUsb = false;
        bool operator==(const CommunicationValues&) const = default;
    };

    virtual ~MainWindowModules() = default;

    // The waveform gallery, modal; nothing when it was cancelled.
    virtual std::optional<GalleryChoice> selectWave(const GalleryRequest& /*request*/,
                                                    QWidget* /*owner*/) {
        return std::nullopt;
    }
    // The editor data view window, opened at a screen position, hidden and shown with the mode.
    virtual void openDataView(QPoint /*screenPosition*/) {}
    virtual void setDataViewVisible(bool /*visible*/) {}
    virtual void refreshDataView() {}
    // The digital wave editor, modal. On OK the edited wave has become the main digital wave,
    // reached the generator model and been written to "DWave.dat"; returns true then.
    virtual bool editDigitalWave(QWidget* /*owner*/) { return false; }
    // The import dialogs, modal; true when new waveforms were imported.
    virtual bool importFromScope(QWidget* /*owner*/) { return false; }
    virtual bool importFromAscii(QWidget* /*owner*/) { return false; }
    // The communication dialog, modal; the values chosen, nothing when cancelled.
    virtual std::optional<CommunicationValues> editCommunication(
        const CommunicationValues& /*current*/, QWidget* /*owner*/) {
        return std::nullopt;
    }
    virtual void checkForUpdates() {}
    virtual void downloadUpdate() {}
    virtual void internetSettings() {}
    virtual void openProfile() {}
    virtual void saveProfile() {}
};
