#include "device/PrinterScreen.h"

#include <QLayout>

#include "shell/WindowPlacement.h"
#include "ui_PrinterScreen.h"

TPrinterForm::TPrinterForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::TPrinterForm>()) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    centerOnScreen(*this);
}

TPrinterForm::~TPrinterForm() = default;

void TPrinterForm::portReleased() {
    accept();
}
