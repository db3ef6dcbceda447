#include "panels/FreqScreen.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPainter>
#include <QPolygon>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/OperatingMode.h"
#include "core/UnitFormat.h"
#include "device/VirtualDriver.h"
#include "device/VirtualDriverFeedbackScreen.h"
#include "device/VirtualGenerator.h"
#include "shell/PictureBox.h"
#include "ui_Main.h"

namespace {

constexpr int Margin = FrequencyScale::Margin;
// The strip at the bottom of the picture that holds the labels.
constexpr int BottomStrip = 15;
constexpr int MarkerGrip = 5;
constexpr int LowestRatio = 1;
constexpr int HighestRatio = 99;

const QColor Background(0xB0, 0xB0, 0xB0);
const QColor MarkColour(0x00, 0xA0, 0xFF);
const QColor MinorColour(0x80, 0x80, 0x80);
const QColor DeviceColour(0x00, 0x80, 0x00);
const QColor ProgramColour(0xFF, 0x00, 0x00);
const QColor PowerOfTwoColour(0x00, 0x00, 0xFF);
const QColor OddRatioColour(0xFF, 0x0A, 0x00);
const QColor DeferredColour(0x80, 0x80, 0x80);

void setTextColour(QLineEdit* edit, const QColor& colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, colour);
    edit->setPalette(palette);
}

QString frequencyText(double frequency) {
    return QString::fromStdString(formatFrequency6(frequency));
}

}  // namespace

TFreqScreen::Controls TFreqScreen::analogControls(Ui::TMainForm& ui) {
    return {ui.FreqImage,    ui.FreqEdit,    ui.RealFreqEdit, ui.FineBar,
            ui.ConFreqBtn,   ui.StepFreqBtn, ui.SetFreqBtn,   ui.LinAdvBtn,
            ui.LogFreqBtn,   ui.LinFreqBtn,  ui.ZoomToBtn,    ui.ZoomOutBtn,
            ui.RatioDownBtn, ui.RatioUpBtn,  ui.FreqBEdit,    ui.FreqBResult};
}

TFreqScreen::Controls TFreqScreen::digitalTickControls(Ui::TMainForm& ui) {
    return {ui.TickFreqImage,  ui.TickFreqEdit,    ui.TickRealFreqEdit, ui.TickFineBar,
            ui.TickConFreqBtn, ui.TickStepFreqBtn, ui.TickSetFreqBtn,   ui.TickLinAdvBtn,
            ui.TickLogFreqBtn, ui.TickLinFreqBtn,  ui.TickZoomToBtn,    ui.TickZoomOutBtn};
}

TFreqScreen::Controls TFreqScreen::importTickControls(Ui::TMainForm& ui) {
    return {ui.ITickFreqImage,  ui.ITickFreqEdit,    ui.ITickRealFreqEdit, ui.ITickFineBar,
            ui.ITickConFreqBtn, ui.ITickStepFreqBtn, ui.ITickSetFreqBtn,   ui.ITickLinAdvBtn,
            ui.ITickLogFreqBtn, ui.ITickLinFreqBtn,  ui.ITickZoomToBtn,    ui.ITickZoomOutBtn};
}

TFreqScreen::TFreqScreen(double minFrequency, double maxFrequency, bool decadeFirstStep)
    : scale_(minFrequency, maxFrequency, decadeFirstStep),
      ratioLimit_(maxFrequency),
      arrowRepeat_(this),
      ratioRepeat_(this) {}

TFreqScreen::~TFreqScreen() = default;

void TFreqScreen::attach(TVirtualGenerator& generator, int mode, const Controls& controls) {
    generator_ = &generator;
    mode_ = mode;
    controls_ = controls;
    const Controls& c = controls_;

    c.freqEdit->setReadOnly(false);
    connect(c.freqImage, &TPictureBox::mousePressed, this,
            [this](QPoint position, Qt::MouseButton button) { mousePressed(position, button); });
    // The second press of a quick double click is a press too: two clicks on an arrow are two
    // steps.
    connect(c.freqImage, &TPictureBox::mouseDoubleClicked, this,
            [this](QPoint position, Qt::MouseButton button) { mousePressed(position, button); });
    connect(c.freqImage, &TPictureBox::mouseMoved, this,
            [this](QPoint position) { mouseMoved(position); });
    connect(c.freqImage, &TPictureBox::mouseReleased, this, [this] { mouseReleased(); });
    connect(c.freqEdit, &QLineEdit::returnPressed, this, &TFreqScreen::typedFrequency);
    connect(c.fineBar, &QScrollBar::valueChanged, this, &TFreqScreen::fineBarMoved);
    connect(c.conFreqBtn, &QAbstractButton::clicked, this, &TFreqScreen::moveModeClicked);
    connect(c.stepFreqBtn, &QAbstractButton::clicked, this, &TFreqScreen::moveModeClicked);
    connect(c.setFreqBtn, &QAbstractButton::clicked, this, &TFreqScreen::setClicked);
    connect(c.linFreqBtn, &QAbstractButton::clicked, this,
            [this] { scaleButtonClicked(FrequencyScale::Mode::Linear); });
    connect(c.logFreqBtn, &QAbstractButton::clicked, this,
            [this] { scaleButtonClicked(FrequencyScale::Mode::Logarithmic); });
    connect(c.linAdvBtn, &QAbstractButton::clicked, this,
            [this] { scaleButtonClicked(FrequencyScale::Mode::Window); });
    connect(c.zoomToBtn, &QAbstractButton::clicked, this, [this] {
        scale_.zoomIn();
        afterViewChange();
    });
    connect(c.zoomOutBtn, &QAbstractButton::clicked, this, [this] {
        scale_.zoomOut();
        afterViewChange();
    });
    if (hasMultiplier()) {
        for (const auto& [button, step] : {std::pair{c.ratioDownBtn, -1}, {c.ratioUpBtn, 1}}) {
            connect(button, &QAbstractButton::pressed, this,
                    [this, step] { ratioRepeat_.start([this, step] { stepRatio(step); }); });
            connect(button, &QAbstractButton::released, this, [this] { ratioRepeat_.stop(); });
        }
        connect(c.freqBEdit, &QLineEdit::returnPressed, this, &TFreqScreen::typedRatio);
        if (TVirtualDriverFeedbackForm* log = generator.driver().feedbackForm())
            connect(log, &TVirtualDriverFeedbackForm::waveFlushed, this, &TFreqScreen::waveFlushed);
    }

    continuous_ = c.conFreqBtn->isChecked();
    scale_.setImageWidth(c.freqImage->image().width());
    updateMarker();
    showScaleButtons();
    sendFrequency();
}

// ---------------------------------------------------------------- values

bool TFreqScreen::setFrequency(double f) {
    if (f == -1) return false;
    programFrequency_ = f;
    deviceFrequency_ = f;
    // The fine bar is written quietly, so the device frequency stays f.
    updateMarker();
    sendFrequency();
    return f >= scale_.minFrequency() && f <= scale_.maxFrequency();
}

void TFreqScreen::setDeviceFrequency(double f) {
    deviceFrequency_ = f;
    sendFrequency();
}

void TFreqScreen::sendFrequency() {
    deviceFrequency_ = std::clamp(deviceFrequency_, scale_.minFrequency(), scale_.maxFrequency());
    if (generator_) {
        deviceFrequency_ = sendToGenerator(deviceFrequency_);
        if (hasMultiplier()) holdMultiplier();
    }
    showValues();
    redraw();
}

// Each panel sets the frequency of its own mode, whichever mode is shown.
double TFreqScreen::sendToGenerator(double f) {
    switch (mode_) {
        case ModeDigital:
            generator_->ChangeDigitalTickFrequency(f);
            return generator_->digitalTickFrequency();
        case ModeImport:
            generator_->ChangeImportTickFrequency(f);
            return generator_->importTickFrequency();
        default:
            generator_->ChangeAnalogFrequency(f);
            return generator_->frequency();
    }
}

void TFreqScreen::holdMultiplier() {
    const MultiplierLimit limit =
        limitMultiplier(scale_.maxFrequency(), programFrequency_, ratio_, generator_->sampleStep(),
                        generator_->oscillatorPer16384());
    ratio_ = limit.ratio;
    ratioLimit_ = limit.ratioLimit;
    generator_->ChangeMultiplier(ratio_);
}

void TFreqScreen::showValues() {
    if (!controls_.freqEdit) return;
    const QScopedValueRollback writing(busy_, true);
    controls_.freqEdit->setText(frequencyText(programFrequency_));
    controls_.realFreqEdit->setText(frequencyText(deviceFrequency_));
    if (!hasMultiplier()) return;
    const bool evenSteps = isPowerOfTwo(ratio_);
    QString result = frequencyText(ratio_ * deviceFrequency_);
    if (!evenSteps) result += QLatin1Char('!');
    controls_.freqBEdit->setText(QString::number(ratio_));
    controls_.freqBResult->setText(result);
    const QColor colour = evenSteps ? PowerOfTwoColour : OddRatioColour;
    const bool deferred = generator_ && generator_->driver().waveQueueState() != 0;
    setTextColour(controls_.freqBEdit, deferred ? DeferredColour : colour);
    setTextColour(controls_.freqBResult, colour);
}

void TFreqScreen::showScaleButtons() {
    if (!controls_.linFreqBtn) return;
    QAbstractButton* down = controls_.logFreqBtn;
    if (windowSelecting_ || scale_.mode() == FrequencyScale::Mode::Window)
        down = controls_.linAdvBtn;
    else if (scale_.mode() == FrequencyScale::Mode::Linear)
        down = controls_.linFreqBtn;
    down->setChecked(true);
}

void TFreqScreen::updateMarker() {
    markerPixel_ = scale_.roundedPixelOf(programFrequency_);
    setFineBar(fineBarPosition(scale_.pixelOf(programFrequency_), markerPixel_));
}

void TFreqScreen::setFineBar(int position) {
    if (!controls_.fineBar) return;
    const QScopedValueRollback writing(busy_, true);
    controls_.fineBar->setValue(position);
}

void TFreqScreen::afterViewChange() {
    updateMarker();
    redraw();
}

// ---------------------------------------------------------------- scale

// The frequency under a column, as far as the range and channel B's multiplier allow.
double TFreqScreen::reachableFrequencyAt(double x) const {
    return std::max(std::min(scale_.frequencyAt(x), ratioLimit_), scale_.minFrequency());
}

// The red marker goes to column x.
void TFreqScreen::programFrequencyFromPixel(int x) {
    const double f = reachableFrequencyAt(x);
    programFrequency_ = f;
    markerPixel_ = x;
    setFineBar(fineBarPosition(scale_.pixelOf(f), x));
    if (continuous_) deviceFrequency_ = f;
    sendFrequency();
}

void TFreqScreen::stepMarker(int direction) {
    const double exact = scale_.pixelOf(programFrequency_);
    if (exact >= 0 && exact <= scale_.scaleWidth() + 2 * Margin) {
        programFrequencyFromPixel(scale_.roundedPixelOf(programFrequency_) + direction);
        return;
    }
    // Far outside the view a whole column is not a frequency nearby: one column's worth from
    // where the marker is.
    programFrequency_ = reachableFrequencyAt(exact + direction);
    if (continuous_) deviceFrequency_ = programFrequency_;
    updateMarker();
    sendFrequency();
}

void TFreqScreen::mousePressed(QPoint position, Qt::MouseButton button) {
    const int x = position.x();
    const int height = controls_.freqImage->image().height();
    if (windowSelecting_ && scale_.insideScale(x)) {
        if (scale_.fixWindow(x, programFrequency_)) {
            windowSelecting_ = false;
            showScaleButtons();
            afterViewChange();
        }
        return;
    }
    if (button == Qt::RightButton || button == Qt::MiddleButton) {
        panning_ = true;
        panAnchor_ = scale_.frequencyAt(x);
        return;
    }
    if (button != Qt::LeftButton) return;
    if (position.y() < height - BottomStrip && !scale_.insideScale(x)) {
        const int direction = x < Margin ? -1 : 1;
        arrowRepeat_.start([this, direction] { stepMarker(direction); });
    } else if (position.y() > height - BottomStrip) {
        clickSet_ = true;
        programFrequencyFromPixel(x);
    } else if (std::abs(x - scale_.roundedPixelOf(programFrequency_)) <= MarkerGrip) {
        clickSet_ = true;
    } else if (scale_.pickMark(x)) {
        redraw();
    } else {
        panning_ = true;
        panAnchor_ = scale_.frequencyAt(x);
    }
}

void TFreqScreen::mouseMoved(QPoint position) {
    const int x = position.x();
    if (windowSelecting_) {
        windowPointer_ = x;
        redraw();
    } else if (clickSet_) {
        programFrequencyFromPixel(x);
    } else if (panning_) {
        scale_.panTo(panAnchor_, x);
        afterViewChange();
    }
}

void TFreqScreen::mouseReleased() {
    arrowRepeat_.stop();
    if (clickSet_) updateMarker();
    clickSet_ = false;
    panning_ = false;
}

void TFreqScreen::scaleButtonClicked(FrequencyScale::Mode mode) {
    const bool wasSelecting = windowSelecting_;
    windowSelecting_ = false;
    windowPointer_ = -1;
    switch (mode) {
        case FrequencyScale::Mode::Linear:
            scale_.showLinear();
            break;
        case FrequencyScale::Mode::Logarithmic:
            scale_.showLogarithmic();
            break;
        case FrequencyScale::Mode::Window:
            // A second press before the window is fixed gives up the choice.
            if (wasSelecting) break;
            scale_.showLinear();
            windowSelecting_ = true;
            break;
    }
    showScaleButtons();
    afterViewChange();
}

// ---------------------------------------------------------------- edits and buttons

void TFreqScreen::typedFrequency() {
    if (busy_) return;
    const double v = parseFrequency(controls_.freqEdit->text().toStdString());
    if (v != -1 && v >= scale_.minFrequency() && v <= scale_.maxFrequency() &&
        v != programFrequency_) {
        programFrequency_ = v;
        updateMarker();
        redraw();
    }
    // A refused text gives way to the frequency the panel holds.
    showValues();
}

void TFreqScreen::fineBarMoved(int position) {
    if (busy_) return;
    programFrequency_ = reachableFrequencyAt(markerPixel_ + (position - 100) / 100.0);
    if (continuous_) deviceFrequency_ = programFrequency_;
    sendFrequency();
}

void TFreqScreen::moveModeClicked() {
    continuous_ = controls_.conFreqBtn->isChecked();
    deviceFrequency_ = programFrequency_;
    sendFrequency();
}

void TFreqScreen::setClicked() {
    deviceFrequency_ = programFrequency_;
    sendFrequency();
}

void TFreqScreen::stepRatio(int step) {
    ratio_ = std::clamp(ratio_ + step, LowestRatio, HighestRatio);
    sendFrequency();
}

void TFreqScreen::typedRatio() {
    bool isNumber = false;
    const int typed = controls_.freqBEdit->text().trimmed().toInt(&isNumber);
    if (isNumber) {
        ratio_ = std::clamp(typed, LowestRatio, HighestRatio);
        sendFrequency();
    } else {
        showValues();
    }
}

// The deferred channel-B upload went out: the multiplier is no longer drawn as pending.
void TFreqScreen::waveFlushed() {
    if (generator_->currentMode() == mode_)
        sendFrequency();
    else
        showValues();
}

// ---------------------------------------------------------------- drawing

void TFreqScreen::redraw() {
    if (!controls_.freqImage) return;
    QImage& image = controls_.freqImage->image();
    scale_.setImageWidth(image.width());
    draw(image);
    controls_.freqImage->update();
}

void TFreqScreen::draw(QImage& image) const {
    const int width = image.width();
    const int height = image.height();
    const int left = Margin;
    const int right = Margin + scale_.scaleWidth();
    const int tickBottom = height - BottomStrip;
    const auto inside = [&](int x) { return x >= left && x <= right; };

    QPainter painter(&image);
    painter.fillRect(image.rect(), Background);
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);

    if (ratioLimit_ < scale_.maxFrequency()) {
        const int from = std::clamp(scale_.roundedPixelOf(ratioLimit_), left, right);
        if (from < right)
            painter.fillRect(QRect(from, 1, right - from, tickBottom - 1),
                             QBrush(PowerOfTwoColour, Qt::BDiagPattern));
    }

    // A label centred under its column, kept inside the picture.
    const auto labelBox = [&](int x, const QString& text) {
        const int textWidth = painter.fontMetrics().horizontalAdvance(text) + 4;
        const int textLeft = std::clamp(x - textWidth / 2, 1, std::max(1, width - 1 - textWidth));
        return QRect(textLeft, height - 14, textWidth, 13);
    };
    // Labels never run into each other: the program frequency's comes first, then the major
    // ticks' and the minor ones' where there is room.
    std::vector<QRect> labelled;
    const int program = scale_.roundedPixelOf(programFrequency_);
    const QString programText = frequencyText(programFrequency_);
    if (inside(program)) labelled.push_back(labelBox(program, programText));

    const double markA = scale_.markA();
    const double markB = scale_.markB();
    for (const FrequencyScale::Tick& tick : scale_.visibleTicks()) {
        const int x = scale_.roundedPixelOf(tick.frequency);
        const bool isMark = tick.frequency == markA || tick.frequency == markB;
        painter.setPen(isMark ? MarkColour : tick.major ? QColor(Qt::white) : MinorColour);
        painter.drawLine(x, tick.major ? 5 : height - 25, x, tickBottom);
        const QString text = QString::fromStdString(tick.label);
        const QRect box = labelBox(x, text);
        if (std::any_of(labelled.begin(), labelled.end(),
                        [&](const QRect& other) { return other.intersects(box); }))
            continue;
        painter.drawText(box, Qt::AlignCenter, text);
        labelled.push_back(box);
    }
    painter.setPen(MarkColour);
    painter.setBrush(MarkColour);
    for (double mark : {markA, markB}) {
        const int x = scale_.roundedPixelOf(mark);
        if (inside(x))
            painter.drawPolygon(QPolygon({QPoint(x - 3, 1), QPoint(x + 3, 1), QPoint(x, 4)}));
    }

    const int device = scale_.roundedPixelOf(deviceFrequency_);
    if (inside(device)) {
        painter.setPen(DeviceColour);
        painter.drawLine(device, 1, device, tickBottom);
    }
    if (inside(program)) {
        painter.setPen(ProgramColour);
        painter.drawLine(program, 1, program, tickBottom);
        painter.drawText(labelled.front(), Qt::AlignCenter, programText);
    }

    const int middle = tickBottom / 2;
    painter.setPen(ProgramColour);
    painter.setBrush(ProgramColour);
    painter.drawPolygon(
        QPolygon({QPoint(3, middle), QPoint(13, middle - 5), QPoint(13, middle + 5)}));
    painter.drawPolygon(QPolygon({QPoint(right + 13, middle), QPoint(right + 3, middle - 5),
                                  QPoint(right + 3, middle + 5)}));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::white);
    painter.drawRect(0, 0, width - 1, height - 1);

    if (windowSelecting_ && windowPointer_ >= 0) {
        // The window is drawn over whatever lies beneath, visible on any colour.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QColor(0xFF, 0xFF, 0xFF));
        const auto [low, high] = scale_.symmetricWindow(windowPointer_, programFrequency_);
        const int from = std::clamp(scale_.roundedPixelOf(low), left, right);
        const int to = std::clamp(scale_.roundedPixelOf(high), left, right);
        painter.drawLine(from, 1, from, tickBottom);
        if (to != from) painter.drawLine(to, 1, to, tickBottom);
        painter.drawLine(from + 1, middle, to - 1, middle);
    }
}
