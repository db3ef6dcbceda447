#pragma once

#include <QDialog>
#include <memory>

#include "digital/MacroValueDialog.h"

class UserMessages;

namespace Ui {
class TMacroValueForm;
}

// "Enter value for macro": the value of a running macro's next cycle. "Ok", "Finish",
// "Finish -1" and "Finish +1" take the hexadecimal value and say how the following cycles get
// theirs (ask again, keep it, count down, count up); a text that is not hexadecimal is refused
// with "Incorrect hexadecimal number" and the dialog stays open. "Abort" (also Escape and the
// close box) stops the macro.
class TMacroValueForm : public QDialog, public MacroValueDialog {
    Q_OBJECT

public:
    explicit TMacroValueForm(UserMessages& messages, QWidget* parent = nullptr);
    ~TMacroValueForm() override;

    Ui::TMacroValueForm& controls() { return *ui; }

    std::optional<MacroValueAnswer> askMacroValue(const MacroValueRequest& request) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void choose(std::uint8_t valueSource);

    std::unique_ptr<Ui::TMacroValueForm> ui;
    UserMessages& messages_;
    MacroValueAnswer answer_;
};
