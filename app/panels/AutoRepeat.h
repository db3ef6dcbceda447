#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// Repeats a step while a button or a spot of a picture is held: the step runs at once, again
// after 500 ms, then every 50 ms until stop(). A timer rather than a waiting loop, so that the
// window stays responsive and nothing else runs in the middle of a step.
class AutoRepeat : public QObject {
public:
    static constexpr int FirstDelayMs = 500;
    static constexpr int IntervalMs = 50;

    explicit AutoRepeat(QObject* parent = nullptr);

    void start(std::function<void()> step);
    void stop();
    bool repeating() const { return timer_.isActive(); }

private:
    void repeat();
    void runStep();

    QTimer timer_;
    std::function<void()> step_;
};
