#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "digital/DigitalWave.h"

class ListDrop;
class UserMessages;

namespace Ui {
class TConfigureWaveForm;
}

// "Configure digital wave": the wave's signals ("nets") and the output lines they drive. A new
// net is named and sized in "Add new net", then its pins are given free lines by dragging them
// from "Available pins" onto "Assign pins", and "Add to nets" adds it. The dialog works on the
// signals handed to it (a copy of the edited wave); a net still being built is not part of them.
class TConfigureWaveForm : public QDialog {
    Q_OBJECT

public:
    TConfigureWaveForm(TDigitalWave& nets, UserMessages& messages, QWidget* parent = nullptr);
    ~TConfigureWaveForm() override;

    Ui::TConfigureWaveForm& controls() { return *ui; }

private:
    void nextStep();
    void addToNets();
    void discardNewNet();
    void moveNet(int direction);
    void removeNet();
    void assignLine(int line, int pin);
    // Enables the pin assignment controls while a net is built, the "Add new net" ones otherwise.
    void setBuilding(bool building);
    void refreshLists();
    // The net and pin that drive line k ("X" or "X[2]"), empty when the line is free.
    QString lineOwner(int line) const;

    std::unique_ptr<Ui::TConfigureWaveForm> ui;
    TDigitalWave& nets_;
    UserMessages& messages_;
    std::optional<TSignal> building_;
    ListDrop* pinDrop_ = nullptr;
};
