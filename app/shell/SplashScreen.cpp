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
    qApp->installEventFilter(this);
}

TSplashForm::~TSplashForm() {
    qApp->removeEventFilter(this);
}

bool TSplashForm::modalWindowShown(const QWidget* leaving) const {
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window != leaving && window->isVisible() && window->isModal())
            return true;
    return false;
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide) return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr || window == this || !window->isWindow() || !window->isModal())
        return false;
    if (type == QEvent::Show && isVisible()) {
        steppedAside_ = true;
        hide();
    } else if (type == QEvent::Hide && steppedAside_ && !modalWindowShown(window)) {
        steppedAside_ = false;
        show();
    }
    return false;
}

void TSplashForm::showSplashStatus(const QString& text) {
    ui->MsgLabel->setText(text);
    ui->MsgLabel->repaint();
    QApplication::processEvents();
}

QString TSplashForm::status() const {
    return ui->MsgLabel->text();
}
