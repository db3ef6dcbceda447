#pragma once

#include <QDialog>
#include <memory>

#include "import/ImportTargetRules.h"

namespace Ui {
class TImportTargetForm;
}

// "Select import target": where the one channel of an oscilloscope file goes. The choices that
// are not available are disabled; "Assign to both channels" is chosen at first.
class TImportTargetForm : public QDialog {
    Q_OBJECT

public:
    explicit TImportTargetForm(ImportTargetChoices choices, QWidget* parent = nullptr);
    ~TImportTargetForm() override;

    // Runs the dialog modally: the choice, or Cancelled.
    ImportTarget choose();
    // The choice the buttons show.
    ImportTarget chosen() const;

    Ui::TImportTargetForm& controls() { return *ui; }

private:
    std::unique_ptr<Ui::TImportTargetForm> ui;
};
