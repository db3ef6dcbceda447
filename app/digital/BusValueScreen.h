#pragma once

#include <QDialog>
#include <memory>

#include "digital/BusValueDialog.h"

namespace Ui {
class TBusValueForm;
}

// "Enter bus value": the hexadecimal value of a bus at the cursor. "Ok" (also Enter) takes the
// text, "Cancel" (also Escape) leaves the bus as it was.
class TBusValueForm : public QDialog, public BusValueDialog {
    Q_OBJECT

public:
    explicit TBusValueForm(QWidget* parent = nullptr);
    ~TBusValueForm() override;

    Ui::TBusValueForm& controls() { return *ui; }

    std::optional<std::string> askBusValue(const std::string& valueText) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TBusValueForm> ui;
};
