#include "import/ImportFromScopeScreen.h"

#include <QTimer>
#include <algorithm>

#include "import/ImportCut.h"
#include "import/PeriodSearch.h"
#include "import/ReplayFidelity.h"
#include "import/TrackedCursors.h"
#include "panels/ZoomButtons.h"
#include "shell/MessageBox.h"
#include "ui_ImportFromScopeScreen.h"
#include "waves/WaveformRecord.h"

namespace {

constexpr QRgb ChannelAColor = qRgb(0, 255, 0);
constexpr QRgb ChannelBColor = qRgb(255, 255, 0);

}  // namespace

TImportFromScopeForm::TImportFromScopeForm(const WaveformRecord& recordA,
                                           const WaveformRecord& recordB,
                                           ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TImportFromScopeForm>()),
      records_{&recordA, &recordB},
      progress_(progress) {
    ui->setupUi(this);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);

    const std::array<TPictureBox*, 2> screens{ui->ScreenA, ui->ScreenB};
    const std::array<ZoomButtons, 2> zoom{
        ZoomButtons{ui->ZoomMaxBtnA, ui->ZoomInBtnA, ui->ZoomOutBtnA, ui->ZoomFullBtnA,
                    ui->OverZoomBtnA},
        ZoomButtons{ui->ZoomMaxBtnB, ui->ZoomInBtnB, ui->ZoomOutBtnB, ui->ZoomFullBtnB,
                    ui->OverZoomBtnB}};
    for (int channel = 0; channel < 2; ++channel) {
        auto& display = displays_[static_cast<std::size_t>(channel)];
        display = std::make_unique<TWaveScreen>();
        display->bind(*screens[static_cast<std::size_t>(channel)]);
        display->setTraceColor(channel == 0 ? ChannelAColor : ChannelBColor);
        display->setRangeCursorsShown(true);
        display->setRecord(*records_[static_cast<std::size_t>(channel)]);
        zoom[static_cast<std::size_t>(channel)].bind(*display);
        display->onRangeCursorMoved = [this, channel](int number) {
            rangeCursorMoved(channel, number);
        };
    }
    const CursorPair opening{0, pointCount(0)};
    setPair(0, opening);
    setPair(1, opening);
    keepEqual(0);
    showDistances();
}

TImportFromScopeForm::~TImportFromScopeForm() = default;

int TImportFromScopeForm::pointCount(int channel) const {
    return records_[channel == 0 ? 0 : 1]->pointCount();
}

bool TImportFromScopeForm::tracking(int channel) const {
    return (channel == 0 ? ui->GlueCursorA : ui->GlueCursorB)->isChecked();
}

CursorPair TImportFromScopeForm::cursors(int channel) const {
    return pairs_[channel == 0 ? 0 : 1];
}

void TImportFromScopeForm::setPair(int channel, CursorPair pair) {
    TWaveScreen& shown = display(channel);
    shown.setRangeCursor(1, pair.first);
    shown.setRangeCursor(2, pair.second);
    pairs_[channel == 0 ? 0 : 1] = {shown.rangeCursor(1), shown.rangeCursor(2)};
}

void TImportFromScopeForm::moveRangeCursor(int channel, int number, int point) {
    display(channel).setRangeCursor(number, point);
    rangeCursorMoved(channel, number);
}

void TImportFromScopeForm::rangeCursorMoved(int channel, int number) {
    const TWaveScreen& moved = display(channel);
    CursorPair pair{moved.rangeCursor(1), moved.rangeCursor(2)};
    if (tracking(channel))
        pair = trackedPair(pairs_[channel == 0 ? 0 : 1], pair, number, pointCount(channel));
    setPair(channel, pair);
    keepEqual(channel);
    showDistances();
}

// The other display takes the moved one's distance; when its record is too short for it, the
// moved one gives way, so that both stretches stay equally long.
void TImportFromScopeForm::keepEqual(int movedChannel) {
    const int other = 1 - movedChannel;
    setPair(other, matchCursorDistance(cursors(movedChannel), cursors(other), pointCount(other)));
    if (cursorDistance(cursors(other)) < cursorDistance(cursors(movedChannel)))
        setPair(movedChannel, matchCursorDistance(cursors(other), cursors(movedChannel),
                                                  pointCount(movedChannel)));
}

void TImportFromScopeForm::showDistances() {
    ui->DeltaXALabel->setText(QString::number(cursorDistance(cursors(0))) + " pix");
    ui->DeltaXBLabel->setText(QString::number(cursorDistance(cursors(1))) + " pix");
}

void TImportFromScopeForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once the dialog is on screen, so that the progress window and "Break" appear over it.
    if (!searchStarted_) {
        searchStarted_ = true;
        QTimer::singleShot(0, this, &TImportFromScopeForm::searchPeriod);
    }
}

void TImportFromScopeForm::searchPeriod() {
    setEnabled(false);
    const ChannelPeriod found =
        searchPeriodOfChannels(records_[0]->points, records_[1]->points, progress_);
    setEnabled(true);
    if (found.result.period && !found.result.brokenOff) {
        for (int channel = 0; channel < 2; ++channel) {
            display(channel).setRangeCursor(2, periodEndCursor(*found.result.period));
            pairs_[static_cast<std::size_t>(channel)].second = display(channel).rangeCursor(2);
        }
        ui->GlueCursorA->setChecked(true);
        ui->GlueCursorB->setChecked(true);
        keepEqual(0);
    }
    showDistances();
    searchDone_ = true;
}

void TImportFromScopeForm::accept() {
    for (int channel = 0; channel < 2; ++channel) {
        if (const auto problem = stretchProblem(stretchWithinMemory(cursors(channel)))) {
            messageBox(*problem, MessageKind::Error, MessageButtons::Ok);
            return;
        }
    }
    QDialog::accept();
}
