#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>

#include "panels/AutoRepeat.h"
#include "panels/FrequencyScale.h"

class QAbstractButton;
class QImage;
class QLineEdit;
class QScrollBar;
class QWidget;
class TPictureBox;
class TVirtualGenerator;

namespace Ui {
class TMainForm;
}

// A frequency panel: the scale picture with the red marker (the frequency in the program) and
// the green one (the frequency the device produces), zooming between two marks, panning, a
// fine bar, typed entry and the two ways of sending ("Con": every change goes to the device;
// "Step": only "Set" sends). The analog panel also holds channel B's frequency multiplier.
//
// The main window owns the controls; attach() hands them over and the panel hooks their
// events. Three instances: analog frequency, and the tick frequency of digital and of import
// mode (decade first step, no multiplier).
class TFreqScreen : public QObject {
public:
    // The controls of one panel. The multiplier controls are those of the analog panel only;
    // the others leave them null.
    struct Controls {
        TPictureBox* freqImage = nullptr;
        QLineEdit* freqEdit = nullptr;
        QLineEdit* realFreqEdit = nullptr;
        QScrollBar* fineBar = nullptr;
        QAbstractButton* conFreqBtn = nullptr;
        QAbstractButton* stepFreqBtn = nullptr;
        QAbstractButton* setFreqBtn = nullptr;
        QAbstractButton* linAdvBtn = nullptr;
        QAbstractButton* logFreqBtn = nullptr;
        QAbstractButton* linFreqBtn = nullptr;
        QAbstractButton* zoomToBtn = nullptr;
        QAbstractButton* zoomOutBtn = nullptr;
        QAbstractButton* ratioDownBtn = nullptr;
        QAbstractButton* ratioUpBtn = nullptr;
        QLineEdit* freqBEdit = nullptr;
        QLineEdit* freqBResult = nullptr;
    };
    // The main window's controls of each instance ("", "Tick", "ITick").
    static Controls analogControls(Ui::TMainForm& ui);
    static Controls digitalTickControls(Ui::TMainForm& ui);
    static Controls importTickControls(Ui::TMainForm& ui);

    // The ranges of the three instances, in hertz.
    static constexpr double AnalogMinFrequency = 0.1;
    static constexpr double AnalogMaxFrequency = 25000000;
    static constexpr double TickMinFrequency = 1525.878906;
    static constexpr double TickMaxFrequency = 50000000;

    // A panel for frequencies from minFrequency to maxFrequency; decadeFirstStep as in
    // FrequencyScale. Holds 589824 Hz in the program and the device until told otherwise.
    TFreqScreen(double minFrequency, double maxFrequency, bool decadeFirstStep);
    ~TFreqScreen() override;
    TFreqScreen(const TFreqScreen&) = delete;
    TFreqScreen& operator=(const TFreqScreen&) = delete;

    // Hands over the generator model, the mode whose frequency the panel sets (ModeAnalog,
    // ModeDigital or ModeImport) and the controls; hooks their events, shows the values and
    // sends the frequency once.
    void attach(TVirtualGenerator& generator, int mode, const Controls& controls);

    // Settings and profiles: both frequencies become f, which is sent; -1 (nothing stored) is
    // ignored. True when f lies within the panel's range.
    bool setFrequency(double f);
    // The frequency the device was last given ("Real frequency"): kept and sent.
    void setDeviceFrequency(double f);
    // Sends the device frequency (held within the range) and shows what the device produces;
    // the analog panel then holds the multiplier to what channel B can play and sends it.
    void sendFrequency();

    double programFrequency() const { return programFrequency_; }
    double deviceFrequency() const { return deviceFrequency_; }
    bool continuous() const { return continuous_; }
    int scaleMode() const { return static_cast<int>(scale_.mode()); }
    std::int32_t ratio() const { return ratio_; }
    // The highest frequency channel B's multiplier allows; above it the scale is hatched.
    double ratioLimit() const { return ratioLimit_; }
    const FrequencyScale& scale() const { return scale_; }
    // The red marker's whole pixel column.
    int markerPixel() const { return markerPixel_; }

    // Draws the scale into the picture.
    void redraw();

private:
    bool hasMultiplier() const { return controls_.freqBEdit != nullptr; }
    double sendToGenerator(double f);
    void holdMultiplier();
    void showValues();
    void showScaleButtons();
    void updateMarker();
    void setFineBar(int position);
    double reachableFrequencyAt(double x) const;
    void programFrequencyFromPixel(int x);
    void stepMarker(int direction);
    void afterViewChange();
    void draw(QImage& image) const;

    // Handlers of the controls.
    void mousePressed(QPoint position, Qt::MouseButton button);
    void mouseMoved(QPoint position);
    void mouseReleased();
    void typedFrequency();
    void fineBarMoved(int position);
    void moveModeClicked();
    void setClicked();
    void scaleButtonClicked(FrequencyScale::Mode mode);
    void stepRatio(int step);
    void typedRatio();
    void waveFlushed();

    FrequencyScale scale_;
    TVirtualGenerator* generator_ = nullptr;
    int mode_ = 0;
    Controls controls_;

    double programFrequency_ = 589824;
    double deviceFrequency_ = 589824;
    int markerPixel_ = 0;
    bool continuous_ = true;
    // Set while the panel writes its own edits and fine bar.
    bool busy_ = false;
    bool clickSet_ = false;
    bool panning_ = false;
    double panAnchor_ = 0;
    // "Lin | |": the window follows the pointer until a press in the scale fixes it.
    bool windowSelecting_ = false;
    int windowPointer_ = -1;
    std::int32_t ratio_ = 1;
    double ratioLimit_;
    AutoRepeat arrowRepeat_;
    AutoRepeat ratioRepeat_;
};
