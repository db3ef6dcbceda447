#include "import/ImportSingleFromScopeScreen.h"

#include "import/ImportCut.h"
#include "import/ReplayFidelity.h"
#include "import/TrackedCursors.h"
#include "panels/ZoomButtons.h"
#include "shell/MessageBox.h"
#include "ui_ImportSingleFromScopeScreen.h"
#include "waves/WaveformRecord.h"

TImportSingleFromScopeForm::TImportSingleFromScopeForm(const WaveformRecord& record, int openingEnd,
                                                       QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TImportSingleFromScopeForm>()),
      record_(record),
      display_(std::make_unique<TWaveScreen>()) {
    ui->setupUi(this);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
    display_->bind(*ui->ScreenA);
    display_->setTraceColor(qRgb(0, 255, 0));
    display_->setRangeCursorsShown(true);
    display_->setRecord(record);
    ZoomButtons{ui->ZoomMaxBtnA, ui->ZoomInBtnA, ui->ZoomOutBtnA, ui->ZoomFullBtnA,
                ui->OverZoomBtnA}
        .bind(*display_);
    display_->onRangeCursorMoved = [this](int number) { rangeCursorMoved(number); };
    setPair({0, openingEnd});
}

TImportSingleFromScopeForm::~TImportSingleFromScopeForm() = default;

void TImportSingleFromScopeForm::setPair(CursorPair pair) {
    display_->setRangeCursor(1, pair.first);
    display_->setRangeCursor(2, pair.second);
    pair_ = {display_->rangeCursor(1), display_->rangeCursor(2)};
    ui->DeltaXALabel->setText(QString::number(cursorDistance(pair_)) + " pix");
}

void TImportSingleFromScopeForm::moveRangeCursor(int number, int point) {
    display_->setRangeCursor(number, point);
    rangeCursorMoved(number);
}

void TImportSingleFromScopeForm::rangeCursorMoved(int number) {
    const CursorPair moved{display_->rangeCursor(1), display_->rangeCursor(2)};
    setPair(trackedPair(pair_, moved, number, record_.pointCount()));
}

void TImportSingleFromScopeForm::accept() {
    if (const auto problem = stretchProblem(stretchWithinMemory(pair_))) {
        messageBox(*problem, MessageKind::Error, MessageButtons::Ok);
        return;
    }
    QDialog::accept();
}
