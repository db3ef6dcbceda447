#include "Main.h"

#include <QVariant>

#include "AppState.h"
#include "ui_Main.h"

namespace {

// The mode mask of a control placed directly on the main window; 0 for the controls that the
// mode switch never touches.
int modeMask(const QWidget& control) {
    return control.property("tag").toInt();
}

}  // namespace

TMainForm::TMainForm(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), ui(std::make_unique<Ui::TMainForm>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ui->ClientArea->setFixedSize(792, 554);
    adjustSize();
    setFixedSize(size());
}

TMainForm::~TMainForm() = default;

QWidget* TMainForm::clientArea() const {
    return ui->ClientArea;
}

void TMainForm::setMode(int mode) {
    state_.currentMode = mode;
    ui->Analogmode1->setChecked(false);
    ui->Digitalmode1->setChecked(false);
    ui->ImportfromQ726mode1->setChecked(false);
    if (mode == ModeAnalog) ui->Analogmode1->setChecked(true);
    if (mode == ModeDigital) ui->Digitalmode1->setChecked(true);
    if (mode == ModeImport) ui->ImportfromQ726mode1->setChecked(true);
    for (QWidget* control : ui->ClientArea->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const int mask = modeMask(*control);
        if (mask != 0) control->setVisible((mask & mode) == mode);
    }
}
