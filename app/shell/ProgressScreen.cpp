#include "shell/ProgressScreen.h"

#include "ui_ProgressScreen.h"

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TProgressForm>()) {
    ui->setupUi(this);
    setModal(false);
    connect(ui->BreakBtn, &QPushButton::clicked, this, &TProgressForm::breakPressed);
}

TProgressForm::~TProgressForm() = default;

QProgressBar* TProgressForm::gauge() const {
    return ui->Gauge;
}

QLabel* TProgressForm::timeLabel() const {
    return ui->TimeLabel;
}

QPushButton* TProgressForm::breakButton() const {
    return ui->BreakBtn;
}

void TProgressForm::reject() {
    if (ui->BreakBtn->isEnabled()) Q_EMIT breakPressed();
}
