#include "generators/HarmonicScreen.h"

#include <QKeyEvent>
#include <QListWidget>
#include <limits>
#include <optional>

#include "generators/HarmonicLevelFormula.h"
#include "generators/HarmonicLevelScreen.h"
#include "panels/ZoomButtons.h"
#include "shell/DialogFlags.h"
#include "ui_HarmonicLevelScreen.h"
#include "ui_HarmonicScreen.h"

namespace {

constexpr int PercentItem = 1;

std::optional<std::int32_t> wholeNumber(const QLineEdit* edit) {
    bool read = false;
    const int value = edit->text().trimmed().toInt(&read);
    if (!read) return std::nullopt;
    return value;
}

}  // namespace

THarmonicForm::THarmonicForm(const WaveformRecord& source, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      ui(std::make_unique<Ui::THarmonicForm>()),
      work_(source),
      levelForm_(std::make_unique<THarmonicLevelForm>(this)) {
    ui->setupUi(this);
    setFixedSize(size());

    preview_.bind(*ui->WaveImage);
    ZoomButtons{ui->ZoomMaxBtn, ui->ZoomInBtn, ui->ZoomOutBtn, ui->Zoom11Btn}.bind(preview_);

    connect(ui->Button1, &QPushButton::clicked, this, &THarmonicForm::Button1Click);
    connect(ui->AddCustomToList, &QPushButton::clicked, this, &THarmonicForm::AddCustomToListClick);
    connect(ui->EditBtn, &QPushButton::clicked, this, &THarmonicForm::EditBtnClick);
    connect(ui->HarmonicsBox, &QListWidget::itemDoubleClicked, this, &THarmonicForm::EditBtnClick);
    connect(ui->DeleteItemsBtn, &QPushButton::clicked, this, &THarmonicForm::DeleteItemsBtnClick);
    connect(ui->MarkBtn, &QPushButton::clicked, this, &THarmonicForm::MarkBtnClick);
    connect(ui->UnMarkBtn, &QPushButton::clicked, this, &THarmonicForm::UnMarkBtnClick);
    connect(ui->ClearListBtn, &QPushButton::clicked, this, &THarmonicForm::ClearListBtnClick);
    connect(ui->Button2, &QPushButton::clicked, this, &THarmonicForm::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
        ui->FormulaEdit->setEnabled(on);
        ui->LevelBox->setEnabled(on);
    });
    // A pair: checking one unchecks the other.
    for (auto [box, other] :
         {std::pair{ui->Plus1Box, ui->Plus2Box}, std::pair{ui->Plus2Box, ui->Plus1Box}}) {
        connect(box, &QCheckBox::toggled, this, [this, other](bool on) {
            if (pairing_ || !on) return;
            pairing_ = true;
            other->setChecked(false);
            pairing_ = false;
        });
    }
    ui->CustomFreqEdit->installEventFilter(this);
    ui->HarmonicsBox->installEventFilter(this);

    ui->LevelBox->setCurrentIndex(PercentItem);
    if (source.generatorKind == kGeneratorHarmonic) block_ = decodeHarmonicParams(source.params);
    recompute();
    refreshList();
}

THarmonicForm::~THarmonicForm() = default;

// ---------------------------------------------------------------- adding

void THarmonicForm::proposeDefaultLevel() {
    proposedLevel_ = lastUnitPercent_ ? 100 : 0;
}

bool THarmonicForm::addHarmonic(std::int32_t number) {
    const HarmonicRefusal refusal = checkHarmonicToAdd(block_, number);
    if (refusal != HarmonicRefusal::None) {
        messages_.error(harmonicRefusalText(refusal, number));
        return refusal != HarmonicRefusal::ListFull;
    }
    HarmonicRecord harmonic;
    harmonic.number = number;
    levelForm_->setHarmonic(harmonic, proposedLevel_, lastUnitPercent_, false);
    int result = THarmonicLevelForm::Taken;
    // The rest of a finished group is taken as it is proposed; a proposal the dialog refuses
    // (a formula's level above 40 dB) is asked after all rather than lost.
    if (!finish_ || !levelForm_->takeValues()) result = levelForm_->exec();
    if (result == THarmonicLevelForm::Aborted) return false;
    if (result == THarmonicLevelForm::Cancelled) return true;
    block_.harmonics[static_cast<std::size_t>(block_.count++)] = levelForm_->harmonic();
    proposedLevel_ = levelForm_->harmonic().level;
    lastUnitPercent_ = levelForm_->percent();
    if (result == THarmonicLevelForm::Finished) finish_ = true;
    return true;
}

void THarmonicForm::Button1Click() {
    const std::optional<std::int32_t> first = wholeNumber(ui->FirstEdit);
    const std::optional<std::int32_t> count = wholeNumber(ui->CountEdit);
    const int step = ui->Plus2Box->isChecked() ? 2 : 1;
    // Harmonic numbers start at 1 and the group's last one must be a number too.
    if (!first || !count || *first < 1 ||
        std::int64_t{*first} + std::int64_t{step} * (std::max(*count, 1) - 1) >
            std::numeric_limits<std::int32_t>::max()) {
        messages_.error(kInvalidHarmonicValues);
        return;
    }
    finish_ = false;
    proposeDefaultLevel();
    std::optional<HarmonicLevelFormula> formula;
    try {
        if (ui->CheckBox1->isChecked()) formula.emplace(ui->FormulaEdit->text().toStdString());
        for (int k = 0; k < *count; ++k) {
            const auto n = static_cast<std::int32_t>(*first + std::int64_t{k} * step);
            if (formula) {
                proposedLevel_ = formula->level(n);
                lastUnitPercent_ = ui->LevelBox->currentIndex() == PercentItem;
            }
            if (!addHarmonic(n)) break;
        }
    } catch (const FormulaError& error) {
        messages_.error(error.what());
    }
    recompute();
    refreshList();
}

void THarmonicForm::AddCustomToListClick() {
    const std::optional<std::int32_t> number = wholeNumber(ui->CustomFreqEdit);
    if (!number || *number < 1) {
        messages_.error(kInvalidHarmonicValues);
        return;
    }
    finish_ = false;
    proposeDefaultLevel();
    addHarmonic(*number);
    recompute();
    refreshList();
}

// ---------------------------------------------------------------- the list

std::vector<int> THarmonicForm::selectedLines() const {
    std::vector<int> lines;
    for (int row = 0; row < ui->HarmonicsBox->count(); ++row)
        if (ui->HarmonicsBox->item(row)->isSelected()) lines.push_back(row);
    return lines;
}

void THarmonicForm::EditBtnClick() {
    for (int line : selectedLines()) {
        const HarmonicRecord& harmonic = block_.harmonics[static_cast<std::size_t>(line)];
        levelForm_->setHarmonic(harmonic, harmonic.level, harmonic.percent, true);
        const int result = levelForm_->exec();
        if (result == THarmonicLevelForm::Taken || result == THarmonicLevelForm::Finished)
            block_.harmonics[static_cast<std::size_t>(line)] = levelForm_->harmonic();
        if (result == THarmonicLevelForm::Finished || result == THarmonicLevelForm::Aborted) break;
    }
    recompute();
    refreshList();
}

void THarmonicForm::DeleteItemsBtnClick() {
    const std::vector<int> lines = selectedLines();
    if (lines.empty()) return;
    removeHarmonics(block_, lines);
    recompute();
    refreshList();
}

void THarmonicForm::MarkBtnClick() {
    markHarmonics(block_, selectedLines(), messages_);
    refreshList();
}

void THarmonicForm::UnMarkBtnClick() {
    unmarkHarmonics(block_, selectedLines());
    refreshList();
}

void THarmonicForm::ClearListBtnClick() {
    block_.count = 0;
    refreshList();
    recompute();
}

void THarmonicForm::refreshList() {
    ui->HarmonicsBox->clear();
    for (int k = 0; k < block_.count; ++k)
        ui->HarmonicsBox->addItem(QString::fromStdString(
            harmonicListLine(block_.harmonics[static_cast<std::size_t>(k)])));
}

// ---------------------------------------------------------------- computing

void THarmonicForm::recompute() {
    recomputeHarmonics(block_, work_);
    preview_.setRecord(work_);
}

void THarmonicForm::Button2Click() {
    finishHarmonicWaveform(block_, work_);
    accept();
}

// Enter in the harmonic's field adds it and keeps the focus there; the Delete key removes the
// selected lines.
bool THarmonicForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == ui->CustomFreqEdit && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            AddCustomToListClick();
            ui->CustomFreqEdit->setFocus();
            return true;
        }
        if (watched == ui->HarmonicsBox && key == Qt::Key_Delete) {
            DeleteItemsBtnClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
