#include "panels/AutoRepeat.h"

AutoRepeat::AutoRepeat(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AutoRepeat::repeat);
}

void AutoRepeat::start(std::function<void()> step) {
    step_ = std::move(step);
    timer_.start(FirstDelayMs);
    runStep();
}

void AutoRepeat::stop() {
    timer_.stop();
    step_ = nullptr;
}

void AutoRepeat::repeat() {
    timer_.setInterval(IntervalMs);
    runStep();
}

// A copy runs: the step may stop the repetition, which drops the stored one.
void AutoRepeat::runStep() {
    const std::function<void()> step = step_;
    if (step) step();
}
