#pragma once

#include <QMainWindow>
#include <memory>

class AppState;
class QGroupBox;

namespace Ui {
class TMainForm;
}

// The application's main window: the group boxes of the three operating modes, each carrying
// in its dynamic property "tag" the mask of the modes in which it is shown.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(AppState& state, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The controls, handed to the panels at start-up (and put into their stored states by the
    // settings reader).
    Ui::TMainForm& controls() { return *ui; }
    // The area below the menu that holds the group boxes (792 x 554).
    QWidget* clientArea() const;

    // Shows the group boxes of the mode and hides the others.
    void setMode(int mode);

private:
    AppState& state_;
    std::unique_ptr<Ui::TMainForm> ui;
};
