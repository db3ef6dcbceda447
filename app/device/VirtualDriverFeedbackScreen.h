#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QPlainTextEdit;
class QTimer;

namespace Ui {
class TVirtualDriverFeedbackForm;
}

// The device log window: lists every driver call while the program runs with logging on, and
// owns FreqTimer, with which channel-B uploads are deferred until the multiplier settles.
class TVirtualDriverFeedbackForm : public QWidget {
    Q_OBJECT

public:
    TVirtualDriverFeedbackForm(bool debugMode, QWidget* parent = nullptr);
    ~TVirtualDriverFeedbackForm() override;

    // Appends text as a new line, only when logging is on.
    void LogLine(const std::string& text);
    // Starts FreqTimer anew: it expires one interval after the last restart.
    void restartFreqTimer();
    // What expiry does first: flush the queued channel-B upload.
    void setFlushHandler(std::function<void()> flush) { flush_ = std::move(flush); }

    QTimer* FreqTimer() const { return freqTimer_; }
    QPlainTextEdit* Memo1() const;

Q_SIGNALS:
    // After a deferred channel-B upload: the frequency panel re-sends and redraws its
    // frequency and multiplier.
    void waveFlushed();

private:
    void freqTimerExpired();

    std::unique_ptr<Ui::TVirtualDriverFeedbackForm> ui;
    QTimer* freqTimer_;
    bool debugMode_;
    std::function<void()> flush_;
};
