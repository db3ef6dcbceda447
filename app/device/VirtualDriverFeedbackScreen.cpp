#include "device/VirtualDriverFeedbackScreen.h"

#include <QTimer>

#include "ui_VirtualDriverFeedbackScreen.h"

namespace {
// A long debug session must not make the window ever slower; older lines scroll away.
constexpr int MaximumLogLines = 20000;
}  // namespace

TVirtualDriverFeedbackForm::TVirtualDriverFeedbackForm(bool debugMode, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TVirtualDriverFeedbackForm>()),
      freqTimer_(new QTimer(this)),
      debugMode_(debugMode) {
    ui->setupUi(this);
    setFixedSize(378, 450);
    // The log stays open beside the main window; closing the main window still ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    ui->Memo1->setMaximumBlockCount(MaximumLogLines);
    freqTimer_->setObjectName(QStringLiteral("FreqTimer"));
    freqTimer_->setInterval(1000);
    freqTimer_->setTimerType(Qt::PreciseTimer);
    freqTimer_->setSingleShot(true);
    connect(freqTimer_, &QTimer::timeout, this, &TVirtualDriverFeedbackForm::freqTimerExpired);
}

TVirtualDriverFeedbackForm::~TVirtualDriverFeedbackForm() = default;

QPlainTextEdit* TVirtualDriverFeedbackForm::Memo1() const {
    return ui->Memo1;
}

void TVirtualDriverFeedbackForm::LogLine(const std::string& text) {
    if (debugMode_) ui->Memo1->appendPlainText(QString::fromStdString(text));
}

void TVirtualDriverFeedbackForm::restartFreqTimer() {
    freqTimer_->stop();
    freqTimer_->start();
}

void TVirtualDriverFeedbackForm::freqTimerExpired() {
    freqTimer_->stop();
    if (flush_) flush_();
    Q_EMIT waveFlushed();
}
