#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>

class QGroupBox;

namespace Ui {
class TDockForm;
}

// A group box of the main window undocked into its own window, below a strip with "Show" and
// "Hide" for the main window. The window remembers where the box sat on the main window and
// its own place in the main window's list of undocked windows; closing it gives the box back
// (the main window does that on closing()) and frees the window.
class TDockForm : public QWidget {
    Q_OBJECT

public:
    // Takes the box into the window, sized to hold the strip and the box, captioned after the
    // box. parent: the main window.
    TDockForm(QGroupBox& box, QPoint homePosition, int index, QWidget* parent);
    ~TDockForm() override;

    QGroupBox& box() const { return box_; }
    // The box's position on the main window before it was undocked.
    QPoint homePosition() const { return homePosition_; }
    int index() const { return index_; }
    void setIndex(int index) { index_ = index; }

Q_SIGNALS:
    void showMainRequested();
    void hideMainRequested();
    // The window is closing and will be freed: the box must be taken back now.
    void closing(TDockForm* window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TDockForm> ui;
    QGroupBox& box_;
    QPoint homePosition_;
    int index_;
};
