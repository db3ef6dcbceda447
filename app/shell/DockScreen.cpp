#include "shell/DockScreen.h"

#include <QCloseEvent>
#include <QGroupBox>

#include "ui_DockScreen.h"

TDockForm::TDockForm(QGroupBox& box, QPoint homePosition, int index, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TDockForm>()),
      box_(box),
      homePosition_(homePosition),
      index_(index) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // A window does not inherit its owner's font; the box keeps the one it was laid out for.
    setFont(box.font());
    setWindowTitle(QStringLiteral("Q745 - ") + box.title());

    const QSize strip = ui->ControlPanel->sizeHint();
    int width = box.width();
    if (strip.width() > width) width = strip.width() + 4;
    ui->ControlPanel->setGeometry(0, 0, width, strip.height());
    box.setParent(this);
    box.move(0, strip.height() + 1);
    box.show();
    setFixedSize(width, strip.height() + box.height() + 1);

    connect(ui->ShowBtn, &QToolButton::clicked, this, &TDockForm::showMainRequested);
    connect(ui->HideBtn, &QToolButton::clicked, this, &TDockForm::hideMainRequested);
}

TDockForm::~TDockForm() = default;

void TDockForm::closeEvent(QCloseEvent* event) {
    Q_EMIT closing(this);
    event->accept();
}
