#include "update/DownloadScreen.h"

#include <QCloseEvent>
#include <QLayout>

#include "shell/WindowPlacement.h"
#include "ui_DownloadScreen.h"

TDownloadForm::TDownloadForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TDownloadForm>()) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    centerOnScreen(*this);
}

TDownloadForm::~TDownloadForm() = default;

void TDownloadForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    Q_EMIT closeRequested();
}
