#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TDownloadForm;
}

// "Downloading ...": the file being downloaded, its progress, speed and the time left.
// Closing it by its close box asks for the transfer to be aborted.
class TDownloadForm : public QWidget {
    Q_OBJECT

public:
    explicit TDownloadForm(QWidget* parent = nullptr);
    ~TDownloadForm() override;

    Ui::TDownloadForm& controls() { return *ui; }

Q_SIGNALS:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TDownloadForm> ui;
};
