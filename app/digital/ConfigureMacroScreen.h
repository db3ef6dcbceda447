#pragma once

#include <QDialog>
#include <memory>

#include "digital/DigitalWave.h"

class UserMessages;

namespace Ui {
class TConfigureMacroForm;
}

// "Configure digital macro": the elements of a macro's template. A new element takes the lowest
// lines of the template's sixteen that no element uses, so there is no pin assignment step. The
// dialog works on the template handed to it (a copy).
class TConfigureMacroForm : public QDialog {
    Q_OBJECT

public:
    TConfigureMacroForm(TDigitalWave& templateWave, UserMessages& messages,
                        QWidget* parent = nullptr);
    ~TConfigureMacroForm() override;

    Ui::TConfigureMacroForm& controls() { return *ui; }

private:
    void addToNets();
    void moveNet(int direction);
    void removeNet();
    void refreshList();

    std::unique_ptr<Ui::TConfigureMacroForm> ui;
    TDigitalWave& template_;
    UserMessages& messages_;
};
