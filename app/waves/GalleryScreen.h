#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "generators/WaveformEditors.h"
#include "shell/DialogMessages.h"

class QFrame;
class QLineEdit;
class QPushButton;
class QWidget;
class TWaveScreen;
struct WaveformStore;

namespace Ui {
class TGalleryForm;
}

// What the main window tells the gallery when it opens it for a channel.
struct GalleryInputs {
    int selectedSlot = 1;        // the channel's present slot, 1..32
    int otherChannelSlot = 1;    // the slot the other channel plays
    int channel = 0;             // 0 A, 1 B
    double frequency = 0;        // the channel's output frequency, Hz
    int sampleStep = 1;          // generated points per waveform point
    int zeroMark = 128;          // the sample value that is 0 V at the channel's shift
    double levelMillivolts = 0;  // the channel's full-scale level
    // The channel's output voltage (mV) at a sample value.
    std::function<double(double sample)> sampleMillivolts;
    std::string startDirectory;  // restored after each file dialog
    bool smallScreen = false;    // below 800 x 600: resizable, at 640 x 480
};

// "Select waveform": the 32 slots of the waveform store as eight thumbnails that scroll by rows
// of four, with their names and "Create"/"Options" buttons, a large display of the selected
// slot with measurement cursors and read-outs, the editors, deletion, the predefined reset,
// and drag and drop: a thumbnail onto another copies it, onto "I/O" exports it to a ".gaw"
// file, and "I/O" onto a thumbnail imports one. Every change is made in the store at once,
// whichever button closes the dialog.
class TGalleryForm : public QDialog {
    Q_OBJECT

public:
    // Asks for a file name (empty when cancelled); `proposed` is the name offered for saving.
    using FileNameAsker =
        std::function<QString(QWidget* parent, const QString& title, const QString& filter,
                              const QString& proposed, bool save)>;

    TGalleryForm(WaveformStore& store, GalleryInputs inputs, WaveformEditors editors,
                 QWidget* parent = nullptr);
    // The MIME type of the gallery's drags: "panel" or a thumbnail's slot number.
    static QString dragFormat();
    ~TGalleryForm() override;

    Ui::TGalleryForm& controls() { return *ui; }
    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

    int selectedSlot() const { return selectedSlot_; }
    // An editor or the predefined reset changed the slot of the other channel.
    bool otherChannelChanged() const { return otherChannelChanged_; }
    // Every slot whose waveform was replaced, changed or cleared while the dialog was open.
    const std::set<int>& changedSlots() const { return changedSlots_; }
    // The picture and the display of thumbnail 1..8, and the large display.
    QWidget* thumbnail(int t) const;
    TWaveScreen& largeDisplay() { return *large_; }

    // ---- handlers ----
    void thumbnailClicked(int t);
    void thumbnailDoubleClicked(int t);
    void ButtonClick(int t);
    void DelSelWaveClick();
    void RstDefaultsBtnClick();
    void RealViewBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where a drag began: a thumbnail's slot, or the "I/O" panel.
    struct DragSource {
        std::optional<int> slot;  // empty: the panel
    };

    int slotOf(int t) const;
    WaveformRecord& record(int slot);
    void select(int slot);
    void refresh();
    void showLargeDisplay(bool newSlot);
    void showReadouts();
    void changed(int slot) { changedSlots_.insert(slot); }
    EditorContext editorContext();
    void openEditor(const WaveformEditors::Editor& editor);

    // Drag and drop.
    void pressed(QWidget* source, QPoint position, std::optional<int> thumbnail);
    void moved(QWidget* source, QPoint position);
    void startDrag(QWidget* source, const DragSource& from);
    bool dragEvent(QObject* watched, QEvent* event);
    void drop(const DragSource& from, std::optional<int> thumbnail);
    void exportSlot(int slot);
    void importInto(int slot);
    QString askWaveFile(const QString& title, const QString& proposed, bool save);

    std::unique_ptr<Ui::TGalleryForm> ui;
    WaveformStore& store_;
    GalleryInputs inputs_;
    WaveformEditors editors_;
    DialogMessages messages_;
    FileNameAsker askFileName_;

    std::array<QWidget*, 8> pictures_{};
    std::array<QFrame*, 8> frames_{};
    std::array<QLineEdit*, 8> edits_{};
    std::array<QPushButton*, 8> buttons_{};
    std::array<std::unique_ptr<TWaveScreen>, 8> thumbnails_;
    std::unique_ptr<TWaveScreen> large_;

    int selectedSlot_ = 1;
    int shownSlot_ = 0;  // the slot on the large display
    bool otherChannelChanged_ = false;
    std::set<int> changedSlots_;
    bool updating_ = false;

    // A press that may become a drag.
    QWidget* pressedWidget_ = nullptr;
    QPoint pressPosition_;
    std::optional<int> pressedThumbnail_;
    bool dragging_ = false;
    // A drop made during our own drag, carried out once the drag has ended.
    std::optional<std::pair<DragSource, std::optional<int>>> pendingDrop_;
};
