#include "shell/ErrorScreen.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>
#include <QStyle>

#include "shell/WindowPlacement.h"
#include "ui_ErrorScreen.h"

TErrorForm::TErrorForm(const ErrorDescription& description, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TErrorForm>()),
      description_(description) {
    ui->setupUi(this);
    ui->Label10->setText(QString::fromStdString(description.error));
    ui->Label11->setText(QString::fromStdString(description.sender));
    ui->Label12->setText(QString::fromStdString(description.owner));
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    ui->Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(side, side));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    centerOnScreen(*this);

    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button2, &QPushButton::clicked, this, [this] {
        Q_EMIT mailRequested();
        accept();
    });
}

TErrorForm::~TErrorForm() = default;

void TErrorForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QGuiApplication::clipboard()->setText(QString::fromStdString(clipboardText(description_)));
}
