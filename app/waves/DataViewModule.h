#pragma once

#include <QWidget>
#include <memory>

#include "waves/DataViewRows.h"

class QLabel;

namespace Ui {
class TDataViewModuleForm;
}

// "Data view": a window beside the main window that shows, for the waveforms of channel A and
// channel B, what the parameters of the editor that made each mean at the channel's present
// level and frequency. The main window refreshes it; it is freed when it is closed.
class TDataViewModuleForm : public QWidget {
    Q_OBJECT

public:
    explicit TDataViewModuleForm(QWidget* parent = nullptr);
    ~TDataViewModuleForm() override;

    Ui::TDataViewModuleForm& controls() { return *ui; }
    void showChannel(int channel, const ChannelDataView& view);

private:
    std::unique_ptr<Ui::TDataViewModuleForm> ui;
};
