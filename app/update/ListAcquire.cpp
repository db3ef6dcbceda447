#include "update/ListAcquire.h"

#include <QCloseEvent>
#include <QLayout>

#include "shell/WindowPlacement.h"
#include "ui_ListAcquire.h"

TListAcquireForm::TListAcquireForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TListAcquireForm>()) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    centerOnScreen(*this);
}

TListAcquireForm::~TListAcquireForm() = default;

QLabel* TListAcquireForm::ProgressLabel() const {
    return ui->ProgressLabel;
}

void TListAcquireForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    Q_EMIT closeRequested();
}
