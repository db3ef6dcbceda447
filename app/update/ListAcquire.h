#pragma once

#include <QWidget>
#include <memory>

class QLabel;

namespace Ui {
class TListAcquireForm;
}

// "Acquiring list": shown while the update list is read, with the transfer's status line.
// Closing it by its close box asks for the transfer to be aborted.
class TListAcquireForm : public QWidget {
    Q_OBJECT

public:
    explicit TListAcquireForm(QWidget* parent = nullptr);
    ~TListAcquireForm() override;

    QLabel* ProgressLabel() const;

Q_SIGNALS:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TListAcquireForm> ui;
};
