#pragma once

#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class TSplashForm;
}

// The borderless window of the start-up, centred on the screen: the program's picture and one
// line naming the stage the start-up is in. Its title ("Starting Q745", never shown) keeps
// "Q745" for the main window alone, which a second copy and the window list look for.
//
// It stays above other windows, so it steps aside while a modal window (a message box of the
// start-up) is shown: hidden until the last one closes, then shown again.
class TSplashForm : public QWidget {
    Q_OBJECT

public:
    explicit TSplashForm(QWidget* parent = nullptr);
    ~TSplashForm() override;

    // Shows the stage at once: pending events are processed so that the window repaints.
    void showSplashStatus(const QString& text);
    QString status() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A modal window other than `leaving` is shown.
    bool modalWindowShown(const QWidget* leaving) const;

    std::unique_ptr<Ui::TSplashForm> ui;
    // Hidden for a modal window (not by its owner).
    bool steppedAside_ = false;
};
