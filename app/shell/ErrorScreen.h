#pragma once

#include <QDialog>
#include <memory>

#include "shell/ErrorReport.h"

namespace Ui {
class TErrorForm;
}

// The apology window of an error that escaped an event handler. When shown it puts the
// description on the clipboard, so that the operator can paste it into a mail.
class TErrorForm : public QDialog {
    Q_OBJECT

public:
    TErrorForm(const ErrorDescription& description, QWidget* parent);
    ~TErrorForm() override;

Q_SIGNALS:
    // The operator asked to write to the maker ("Kontaktujte nas cez e-mail").
    void mailRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TErrorForm> ui;
    ErrorDescription description_;
};
