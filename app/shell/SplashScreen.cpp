#include "shell/SplashScreen.h"

#include <QApplication>
#include <QPixmap>

#include "shell/SplashPicture.h"
#include "shell/WindowPlacement.h"
#include "ui_SplashScreen.h"

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::TSplashForm>()) {
    ui->setupUi(this);
    ui->Image1->setPixmap(QPixmap::fromImage(splashPicture()));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x10, 0x18, 0x30));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    centerOnScreen(*this);
}

TSplashForm::~TSplashForm() = default;

void TSplashForm::showSplashStatus(const QString& text) {
    ui->MsgLabel->setText(text);
    ui->MsgLabel->repaint();
    QApplication::processEvents();
}

QString TSplashForm::status() const {
    return ui->MsgLabel->text();
}
