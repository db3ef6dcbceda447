#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

class QProgressBar;
class QLabel;
class QPushButton;

namespace Ui {
class TProgressForm;
}

// The window of every long operation: a gauge, the estimated remaining time and "Break".
// ProgressWindow decides when it is shown and what it displays.
class TProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TProgressForm(QWidget* parent = nullptr);
    ~TProgressForm() override;

    QProgressBar* gauge() const;
    QLabel* timeLabel() const;
    QPushButton* breakButton() const;

    // The window manager's close box and Escape press "Break" when it is allowed, and are
    // otherwise ignored: the operation owns the window until it finishes.
    void reject() override;

Q_SIGNALS:
    void breakPressed();

private:
    std::unique_ptr<Ui::TProgressForm> ui;
};
