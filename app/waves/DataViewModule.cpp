#include "waves/DataViewModule.h"

#include <QGroupBox>
#include <array>

#include "shell/RedLabel.h"
#include "ui_DataViewModule.h"

namespace {

// The labels of one harmonics row: order, frequency, voltage, phase and "deg".
using RowLabels = std::array<QLabel*, 5>;

void showRow(const RowLabels& labels, const HarmonicRow* row) {
    const std::array<QString, 4> texts =
        row != nullptr ? std::array<QString, 4>{QString::fromStdString(row->order),
                                                QString::fromStdString(row->frequency),
                                                QString::fromStdString(row->voltage),
                                                QString::fromStdString(row->phase)}
                       : std::array<QString, 4>{"N/A", "N/A", "N/A", "N/A"};
    for (std::size_t k = 0; k < labels.size(); ++k) {
        if (k < texts.size()) labels[k]->setText(texts[k]);
        showInRed(*labels[k], row != nullptr && row->red);
        labels[k]->setVisible(row != nullptr);
    }
}

}  // namespace

TDataViewModuleForm::TDataViewModuleForm(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TDataViewModuleForm>()) {
    ui->setupUi(this);
    setFixedSize(size());
    setAttribute(Qt::WA_DeleteOnClose);
    const std::array<QLabel*, 14> orders{ui->N1,  ui->N2,  ui->N3,  ui->N4, ui->N5,
                                         ui->N6,  ui->N7,  ui->N8,  ui->N9, ui->N10,
                                         ui->N11, ui->N12, ui->N13, ui->N14};
    for (std::size_t row = 0; row < orders.size(); ++row)
        orders[row]->setProperty("tag", static_cast<int>(row) + 1);
}

TDataViewModuleForm::~TDataViewModuleForm() = default;

void TDataViewModuleForm::showChannel(int channel, const ChannelDataView& view) {
    Ui::TDataViewModuleForm& c = *ui;
    const bool a = channel == 0;
    const std::array<RowLabels, kDataViewHarmonicRows> rows =
        a ? std::array<RowLabels, kDataViewHarmonicRows>{RowLabels{c.N1, c.F1, c.V1, c.P1, c.Deg1},
                                                         {c.N2, c.F2, c.V2, c.P2, c.Deg2},
                                                         {c.N3, c.F3, c.V3, c.P3, c.Deg3},
                                                         {c.N4, c.F4, c.V4, c.P4, c.Deg4},
                                                         {c.N5, c.F5, c.V5, c.P5, c.Deg5},
                                                         {c.N6, c.F6, c.V6, c.P6, c.Deg6},
                                                         {c.N7, c.F7, c.V7, c.P7, c.Deg7}}
          : std::array<RowLabels, kDataViewHarmonicRows>{
                RowLabels{c.N8, c.F8, c.V8, c.P8, c.Deg8}, {c.N9, c.F9, c.V9, c.P9, c.Deg9},
                {c.N10, c.F10, c.V10, c.P10, c.Deg10},     {c.N11, c.F11, c.V11, c.P11, c.Deg11},
                {c.N12, c.F12, c.V12, c.P12, c.Deg12},     {c.N13, c.F13, c.V13, c.P13, c.Deg13},
                {c.N14, c.F14, c.V14, c.P14, c.Deg14}};
    QGroupBox* harmonics = a ? c.HarmA : c.HarmB;
    QGroupBox* modulation = a ? c.ModA : c.ModB;
    QGroupBox* noise = a ? c.NoiseA : c.NoiseB;
    QLabel* none = a ? c.NAA : c.NAB;

    harmonics->setVisible(view.kind == DataViewKind::Harmonics);
    modulation->setVisible(view.kind == DataViewKind::Modulation);
    noise->setVisible(view.kind == DataViewKind::Noise);
    none->setVisible(view.kind == DataViewKind::None);
    for (std::size_t row = 0; row < rows.size(); ++row)
        showRow(rows[row], row < view.rows.size() ? &view.rows[row] : nullptr);

    QLabel* carrier = a ? c.ModAFreq : c.ModBFreq;
    (a ? c.ModALevel : c.ModBLevel)->setText(QString::fromStdString(view.modulationLevel));
    carrier->setText(QString::fromStdString(view.carrierFrequency));
    showInRed(*carrier, view.carrierRed);
    (a ? c.NoiseLevelA : c.NoiseLevelB)->setText(QString::fromStdString(view.noiseLevel));
}
