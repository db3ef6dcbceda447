#include "generators/HarmonicLevelScreen.h"

#include <cmath>

#include "core/UnitFormat.h"
#include "core/UserError.h"
#include "shell/DialogFlags.h"
#include "ui_HarmonicLevelScreen.h"

namespace {

constexpr int DecibelItem = 0;
constexpr int PercentItem = 1;

}  // namespace

THarmonicLevelForm::THarmonicLevelForm(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), ui(std::make_unique<Ui::THarmonicLevelForm>()) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->OkBtn, &QPushButton::clicked, this, &THarmonicLevelForm::OkBtnClick);
    connect(ui->FinishBtn, &QPushButton::clicked, this, &THarmonicLevelForm::FinishBtnClick);
    connect(ui->AbortBtn, &QPushButton::clicked, this, [this] { done(Aborted); });
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

THarmonicLevelForm::~THarmonicLevelForm() = default;

void THarmonicLevelForm::setHarmonic(const HarmonicRecord& harmonic, double level, bool percent,
                                     bool withPhase) {
    harmonic_ = harmonic;
    ui->Label2->setText(QString::number(harmonic.number) + "x");
    ui->LevelEdit->setText(QString::fromStdString(plainNumberText(level)));
    ui->LevelBox->setCurrentIndex(percent ? PercentItem : DecibelItem);
    if (withPhase) ui->PhaseEdit->setText(QString::number(harmonic.phaseDegrees));
}

bool THarmonicLevelForm::percent() const {
    return ui->LevelBox->currentIndex() == PercentItem;
}

bool THarmonicLevelForm::takeValues() {
    const std::string levelText = commaToPoint(ui->LevelEdit->text().trimmed().toStdString());
    ui->LevelEdit->setText(QString::fromStdString(levelText));
    bool phaseRead = false;
    const int phase = ui->PhaseEdit->text().trimmed().toInt(&phaseRead);
    const std::optional<double> level = parseDecimal(levelText);
    if (!phaseRead || !level || !std::isfinite(*level)) {
        messages_.error(kInvalidHarmonicValues);
        return false;
    }
    try {
        setHarmonicLevel(harmonic_, *level, percent(), phase);
    } catch (const UserError& error) {
        messages_.error(error.what());
        return false;
    }
    return true;
}

void THarmonicLevelForm::OkBtnClick() {
    if (takeValues()) done(Taken);
}

void THarmonicLevelForm::FinishBtnClick() {
    if (takeValues()) done(Finished);
}

void THarmonicLevelForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->LevelEdit->setFocus();
    ui->LevelEdit->selectAll();
}
