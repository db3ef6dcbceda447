#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "core/ProgressReporter.h"

class TProgressForm;

// The progress of the one long operation that runs at a time. The window appears only when
// the operation has taken a second (or at once when asked), so short work shows nothing; the
// control that started the work is disabled meanwhile so it cannot be started twice, and
// pending events are processed so the program stays responsive.
class ProgressWindow final : public ProgressReporter {
public:
    // Milliseconds of a monotonic clock; tests pass their own.
    using Clock = std::function<std::int64_t()>;

    explicit ProgressWindow(TProgressForm& form, Clock clock = {});

    // owner: the window or button that started the operation; disabled until progressFinish.
    void progressStart(QWidget* owner, std::int64_t maximum, bool breakAllowed, bool showNow,
                       const std::string& caption);
    // The operator's interface: the owner is the one given to setOwner, if any.
    void progressStart(std::int64_t maximum, bool breakAllowed, bool showNow,
                       const std::string& caption) override;
    bool progressNext(std::int64_t position) override;
    bool progressStep() override;
    void progressFinish() override;

    // The owner of the next progressStart without an owner of its own.
    void setOwner(QWidget* owner) { nextOwner_ = owner; }

    // Set by "Break"; the work stops at its next progressNext.
    bool progressBreak() const { return progressBreak_; }
    bool shown() const { return shown_; }

private:
    void showGauge(std::int64_t position);

    TProgressForm& form_;
    Clock clock_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> nextOwner_;
    std::int64_t maximum_ = 0;
    std::int64_t step_ = 0;
    std::int64_t startTime_ = 0;
    std::int64_t counter_ = 0;
    std::int64_t gaugePosition_ = 0;
    bool shown_ = false;
    bool progressBreak_ = false;
};
