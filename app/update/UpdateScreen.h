#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "update/UpdateList.h"

class UserMessages;

namespace Ui {
class TUpdateForm;
}

// "Available updates": the program's version and every entry of the update list, the newest
// one chosen when it is newer than the program. "Download" closes the window with OK once a
// row is chosen (whole-row selection on); until then it says "Zvolte si update".
class TUpdateForm : public QDialog {
    Q_OBJECT

public:
    TUpdateForm(const std::vector<TUpdate>& updates,
                const std::array<std::uint16_t, 4>& programVersion, UserMessages& messages,
                QWidget* parent = nullptr);
    ~TUpdateForm() override;

    Ui::TUpdateForm& controls() { return *ui; }
    bool wholeRowSelection() const { return wholeRowSelection_; }
    // The row of the chosen entry (list order); -1 when none.
    int selectedRow() const;

private:
    void setWholeRowSelection(bool on);
    void downloadClicked();

    std::unique_ptr<Ui::TUpdateForm> ui;
    UserMessages& messages_;
    bool wholeRowSelection_ = false;
};
