#pragma once

#include <QDialog>
#include <memory>

#include "waves/WaveformRecord.h"

class TMathForm;

namespace Ui {
class TMathOptionsForm;
}

// "Math options": recomputes a formula waveform whose optionsKind is 2 with new values of its
// constants y and z, without showing the formulas. A math editor that is never shown does the
// work, drawing its preview into this dialog.
class TMathOptionsForm : public QDialog {
    Q_OBJECT

public:
    // On "Ok" without an error the record becomes the recomputed waveform.
    explicit TMathOptionsForm(WaveformRecord& record, QWidget* parent = nullptr);
    ~TMathOptionsForm() override;

    Ui::TMathOptionsForm& controls() { return *ui; }
    // "Ok" recomputed the record.
    bool changed() const { return changed_; }

    void PreviewBtnClick();
    void OkBtnClick();

private:
    void copyValuesToEditor();

    std::unique_ptr<Ui::TMathOptionsForm> ui;
    WaveformRecord& record_;
    std::unique_ptr<TMathForm> editor_;
    bool changed_ = false;
};
