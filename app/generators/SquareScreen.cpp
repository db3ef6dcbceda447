#include "generators/SquareScreen.h"

#include <QPainter>

#include "shell/DialogFlags.h"
#include "shell/PictureBox.h"
#include "ui_SquareScreen.h"

TSquareForm::TSquareForm(WaveformRecord& record, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      ui(std::make_unique<Ui::TSquareForm>()),
      record_(record),
      shares_(decodeSquareShares(record.params)) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->SBottomEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { shareTyped(true, text); });
    connect(ui->STopEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { shareTyped(false, text); });
    connect(ui->OkBtn, &QPushButton::clicked, this, &TSquareForm::OkBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    showShares();
}

TSquareForm::~TSquareForm() = default;

void TSquareForm::shareTyped(bool low, const QString& text) {
    if (writing_) return;
    bool read = false;
    const int share = text.trimmed().toInt(&read);
    if (!read) return;
    const SquareShares typed = sharesFromTyped(share);
    shares_ = low ? typed : SquareShares{typed.high, typed.low};
    showShares();
}

void TSquareForm::showShares() {
    writing_ = true;
    ui->SBottomEdit->setText(QString::number(shares_.low));
    ui->STopEdit->setText(QString::number(shares_.high));
    writing_ = false;
    drawShape(*ui->Image1, true);
    drawShape(*ui->Image2, false);
}

// One period of the square wave at the present shares, the part of the field beside it thick.
void TSquareForm::drawShape(TPictureBox& picture, bool lowMarked) {
    QImage& image = picture.image();
    image.fill(Qt::white);
    QPainter painter(&image);
    const int margin = 6;
    const int width = image.width() - 2 * margin;
    const int top = margin;
    const int bottom = image.height() - margin - 1;
    const int edge = margin + width * shares_.low / 100;
    const int end = margin + width;
    const QPen thin(Qt::black, 1);
    const QPen thick(Qt::red, 3);
    painter.setPen(lowMarked ? thick : thin);
    painter.drawLine(margin, bottom, edge, bottom);
    painter.setPen(thin);
    painter.drawLine(edge, bottom, edge, top);
    painter.setPen(lowMarked ? thin : thick);
    painter.drawLine(edge, top, end, top);
    painter.setPen(thin);
    painter.drawLine(end, top, end, bottom);
    picture.update();
}

void TSquareForm::OkBtnClick() {
    applySquareWave(record_, shares_.low);
    accept();
}
