#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TPrinterForm;
}

// "Please wait while printer is in use.": shown modally while a print job holds the shared
// port. The operator cannot close it; it closes when the port is released.
class TPrinterForm : public QDialog {
    Q_OBJECT

public:
    explicit TPrinterForm(QWidget* parent = nullptr);
    ~TPrinterForm() override;

    void portReleased();

    // Escape and the window manager's close request do nothing.
    void reject() override {}

private:
    std::unique_ptr<Ui::TPrinterForm> ui;
};
