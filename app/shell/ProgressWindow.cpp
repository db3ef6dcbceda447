#include "shell/ProgressWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "shell/ProgressScreen.h"
#include "core/Rounding.h"
#include "core/UnitFormat.h"

namespace {

constexpr std::int64_t ShowAfterMs = 1000;

std::int64_t monotonicMilliseconds() {
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return timer.elapsed();
}

}  // namespace

ProgressWindow::ProgressWindow(TProgressForm& form, Clock clock)
    : form_(form), clock_(clock ? std::move(clock) : Clock(monotonicMilliseconds)) {
    QObject::connect(&form_, &TProgressForm::breakPressed, &form_,
                     [this] { progressBreak_ = true; });
}

void ProgressWindow::progressStart(QWidget* owner, std::int64_t maximum, bool breakAllowed,
                                   bool showNow, const std::string& caption) {
    owner_ = owner;
    nextOwner_ = nullptr;
    if (owner_) owner_->setEnabled(false);
    form_.setWindowTitle(QString::fromStdString("Please wait ... " + caption));
    maximum_ = maximum;
    gaugePosition_ = 0;
    // QProgressBar counts in int; larger operations are shown to scale.
    form_.gauge()->setRange(0, static_cast<int>(std::min<std::int64_t>(maximum, INT_MAX)));
    form_.gauge()->setValue(0);
    form_.timeLabel()->setText("N/A");
    form_.breakButton()->setEnabled(breakAllowed);
    shown_ = false;
    startTime_ = clock_();
    step_ = maximum / 100;
    progressBreak_ = false;
    counter_ = 0;
    QApplication::processEvents();
    if (showNow) {
        startTime_ -= ShowAfterMs + 1;
        progressNext(0);
    }
}

void ProgressWindow::progressStart(std::int64_t maximum, bool breakAllowed, bool showNow,
                                   const std::string& caption) {
    progressStart(nextOwner_, maximum, breakAllowed, showNow, caption);
}

bool ProgressWindow::progressNext(std::int64_t position) {
    counter_ = position;
    const std::int64_t elapsed = clock_() - startTime_;
    if (!shown_ && elapsed >= ShowAfterMs) {
        // Over a modal window (an editor's step operations) the window is modal itself, or the
        // modal window would keep "Break" from the operator.
        form_.setWindowModality(QApplication::activeModalWidget() != nullptr ? Qt::ApplicationModal
                                                                             : Qt::NonModal);
        form_.show();
        form_.raise();
        shown_ = true;
    }
    if (shown_ && std::llabs(gaugePosition_ - position) >= step_) {
        showGauge(position);
        if (position == 0) {
            form_.timeLabel()->setText("N/A");
        } else {
            const double remaining =
                (static_cast<double>(maximum_) / static_cast<double>(position) - 1.0) *
                static_cast<double>(elapsed) / 1000.0;
            form_.timeLabel()->setText(
                QString::fromStdString(plainNumberText(roundHalfEven(remaining)) + "s"));
        }
        QApplication::processEvents();
    }
    return !progressBreak_;
}

bool ProgressWindow::progressStep() {
    return progressNext(counter_ + 1);
}

void ProgressWindow::progressFinish() {
    if (owner_) owner_->setEnabled(true);
    owner_ = nullptr;
    if (shown_) form_.hide();
    shown_ = false;
}

void ProgressWindow::showGauge(std::int64_t position) {
    gaugePosition_ = position;
    if (maximum_ > INT_MAX) {
        const double share = static_cast<double>(position) / static_cast<double>(maximum_);
        form_.gauge()->setValue(static_cast<int>(share * INT_MAX));
    } else {
        form_.gauge()->setValue(static_cast<int>(std::clamp<std::int64_t>(position, 0, maximum_)));
    }
}
