#include "digital/DigitalInterfaceScreen.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/UserError.h"
#include "core/UserMessages.h"
#include "digital/BusExplosion.h"
#include "digital/CellEdit.h"
#include "digital/DigitalWaveScreen.h"
#include "digital/WaveSteps.h"

namespace {

const QString NotAvailable = QStringLiteral("N/A");

void connectClick(QAbstractButton* button, QObject* context, const std::function<void()>& handler) {
    if (button) QObject::connect(button, &QAbstractButton::clicked, context, handler);
}

std::string fieldText(const QLineEdit* field) {
    return field ? field->text().toStdString() : std::string("1");
}

void enable(QWidget* control, bool enabled) {
    if (control) control->setEnabled(enabled);
}

}  // namespace

TDigitalInterface::TDigitalInterface(TDigitalWaveScreen& display, TDigitalWave& wave,
                                     MacroQueue* queue, Controls controls, UserMessages& messages,
                                     ProgressReporter& progress, BusValueDialog& busDialog,
                                     MacroValueDialog* valueDialog,
                                     std::function<double()> tickFrequency)
    : display_(display),
      wave_(wave),
      queue_(queue),
      controls_(controls),
      messages_(messages),
      progress_(progress),
      busDialog_(busDialog),
      tickFrequency_(std::move(tickFrequency)),
      stepper_(std::make_unique<DigitalStepper>(wave, queue, display.cursor(), messages, progress,
                                                valueDialog)) {}

TDigitalInterface::~TDigitalInterface() {
    display_.onSelect = nullptr;
    display_.onCellClick = nullptr;
}

void TDigitalInterface::wire() {
    stepper_->events = stepEvents;
    stepper_->onStepAppended = [this] { display_.stepAppended(); };
    stepper_->onQueueChanged = [this] {
        display_.setWave(wave_);
        if (onQueueChanged) onQueueChanged();
        display_.redraw();
    };
    const auto frequency = [this] { return tickFrequency_ ? tickFrequency_() : 0.0; };
    for (QLineEdit* count :
         {controls_.takeStepsEdit, controls_.insStepsEdit, controls_.delStepsEdit})
        if (count) count->setText(QStringLiteral("1"));

    connectClick(controls_.zoomIn, this, [this] { display_.zoomIn(); });
    connectClick(controls_.zoomOut, this, [this] { display_.zoomOut(); });
    connectClick(controls_.oneStep, this, [this] { guarded([this] { stepper_->stepForward(); }); });
    connectClick(controls_.takeSteps, this, [this, frequency] {
        guarded([&] { stepper_->takeSteps(fieldText(controls_.takeStepsEdit), frequency()); });
    });
    connectClick(controls_.finishMacro, this,
                 [this] { guarded([this] { stepper_->finishMacroQueue(); }); });
    connectClick(controls_.insertStep, this, [this] {
        guarded([this] { insertStep(wave_, display_.cursor(), stepEvents); });
        showWave();
    });
    connectClick(controls_.deleteStep, this, [this] {
        guarded([this] { deleteStep(wave_, display_.cursor(), stepEvents); });
        showWave();
    });
    connectClick(controls_.insSteps, this, [this, frequency] {
        guarded([&] {
            insertSteps(wave_, display_.cursor(), stepEvents, fieldText(controls_.insStepsEdit),
                        frequency(), progress_);
        });
        showWave();
    });
    connectClick(controls_.delSteps, this, [this, frequency] {
        guarded([&] {
            deleteSteps(wave_, display_.cursor(), stepEvents, fieldText(controls_.delStepsEdit),
                        frequency(), progress_);
        });
        showWave();
    });
    connectClick(controls_.explode, this, [this] { explode(); });
    connectClick(controls_.implode, this, [this] { implode(); });
    if (controls_.counterEdit)
        connect(controls_.counterEdit, &QLineEdit::returnPressed, this,
                &TDigitalInterface::setCounter);
    display_.onSelect = [this] { refreshPanel(); };
    display_.onCellClick = [this](int signal, std::uint16_t&) { editCell(signal); };
    refreshPanel();
}

void TDigitalInterface::leaveEnterToFields(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->window() != &window) continue;
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void TDigitalInterface::guarded(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const UserError& error) {
        messages_.error(error.what());
    }
}

void TDigitalInterface::showWave() {
    display_.setWave(wave_);
    display_.redraw();
}

int TDigitalInterface::selectedSignal() const {
    const int signal = display_.selectedSignal();
    return wave_.hasSignal(signal) ? signal : -1;
}

void TDigitalInterface::refreshPanel() {
    if (onPanelRefresh) onPanelRefresh();
    if (controls_.typeEdit) controls_.typeEdit->setText(NotAvailable);
    if (controls_.counterEdit) {
        controls_.counterEdit->setText(NotAvailable);
        controls_.counterEdit->setEnabled(false);
    }
    enable(controls_.explode, false);
    enable(controls_.implode, false);
    if (controls_.bindingsList) controls_.bindingsList->clear();

    const int signal = selectedSignal();
    if (signal >= 0) {
        const TSignal& selected = wave_.signals[static_cast<std::size_t>(signal)];
        if (controls_.typeEdit)
            controls_.typeEdit->setText(selected.isClock() ? QStringLiteral("Clock")
                                                           : QStringLiteral("Sequence"));
        if (selected.isClock() && controls_.counterEdit) {
            controls_.counterEdit->setText(QString::number(selected.counter));
            controls_.counterEdit->setEnabled(true);
        }
        if (controls_.bindingsList) {
            for (int pin = 0; pin < selected.width; ++pin) {
                const int line = lineOfMask(selected.pins[static_cast<std::size_t>(pin)].mask);
                controls_.bindingsList->addItem(
                    QString::fromStdString(pinDisplayName(selected, pin)) + " = D" +
                    QString::number(line));
            }
        }
        if (selected.isBus())
            enable(controls_.explode, true);
        else
            enable(controls_.implode, canImplode(wave_, signal));
    }
    if (queue_ && !queue_->empty()) {
        enable(controls_.explode, false);
        enable(controls_.implode, false);
    }
}

void TDigitalInterface::explode() {
    const int signal = selectedSignal();
    if (signal < 0 || (queue_ && !queue_->empty())) return;
    explodeBus(wave_, signal);
    showWave();
}

void TDigitalInterface::implode() {
    const int signal = selectedSignal();
    if (signal < 0 || (queue_ && !queue_->empty())) return;
    const int bus = implodeSignal(wave_, signal);
    if (bus >= 0) display_.selectSignal(bus);
    showWave();
}

void TDigitalInterface::editCell(int signal) {
    const std::int32_t step = display_.cursor();
    guarded([&] {
        ::editCell(wave_, signal, step, busDialog_, [this](int changed) {
            return !onBeforeCellChange || onBeforeCellChange(changed);
        });
    });
}

void TDigitalInterface::setCounter() {
    const int signal = selectedSignal();
    if (signal >= 0 && controls_.counterEdit)
        ::setCounter(wave_.signals[static_cast<std::size_t>(signal)],
                     controls_.counterEdit->text().toStdString());
    refreshPanel();
}
