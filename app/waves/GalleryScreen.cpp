#include "waves/GalleryScreen.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "core/UnitFormat.h"
#include "panels/WaveScreen.h"
#include "panels/ZoomButtons.h"
#include "shell/PictureBox.h"
#include "ui_GalleryScreen.h"
#include "waves/GalleryRules.h"
#include "waves/GawFile.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"
#include "waves/WaveformStore.h"

namespace {

const QString PanelSource = QStringLiteral("panel");
const QString WaveFileFilter = QStringLiteral("Analog wave file (*.gaw)");

const QColor SelectedFrame(0x00, 0x80, 0x00);
const QColor OtherFrame(0xFF, 0x00, 0x00);

constexpr int SmallScreenWidth = 640;
constexpr int SmallScreenHeight = 480;

QString nameText(const std::string& name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString fileDialog(QWidget* parent, const QString& title, const QString& filter,
                   const QString& proposed, bool save) {
    return save ? QFileDialog::getSaveFileName(parent, title, proposed, filter)
                : QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

}  // namespace

TGalleryForm::TGalleryForm(WaveformStore& store, GalleryInputs inputs, WaveformEditors editors,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TGalleryForm>()),
      store_(store),
      inputs_(std::move(inputs)),
      editors_(std::move(editors)),
      askFileName_(fileDialog),
      large_(std::make_unique<TWaveScreen>()) {
    ui->setupUi(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui->ScrollBox);
    if (inputs_.smallScreen) {
        resize(SmallScreenWidth, SmallScreenHeight);
    } else {
        setFixedSize(ui->ClientArea->size());
        ui->ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        ui->ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    selectedSlot_ = std::clamp(inputs_.selectedSlot, 1, kStoreSlotCount);

    const std::array<TPictureBox*, 8> images{ui->Image1, ui->Image2, ui->Image3, ui->Image4,
                                             ui->Image5, ui->Image6, ui->Image7, ui->Image8};
    frames_ = {ui->Shape1, ui->Shape2, ui->Shape3, ui->Shape4,
               ui->Shape5, ui->Shape6, ui->Shape7, ui->Shape8};
    edits_ = {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4,
              ui->Edit5, ui->Edit6, ui->Edit7, ui->Edit8};
    buttons_ = {ui->Button1, ui->Button2, ui->Button3, ui->Button4,
                ui->Button5, ui->Button6, ui->Button7, ui->Button8};
    for (int t = 1; t <= kGalleryThumbnails; ++t) {
        const auto k = static_cast<std::size_t>(t - 1);
        TPictureBox* image = images[k];
        pictures_[k] = image;
        auto& display = thumbnails_[k];
        display = std::make_unique<TWaveScreen>();
        display->bind(*image);
        display->setDraggable(true);
        image->setAcceptDrops(true);
        image->installEventFilter(this);
        frames_[k]->installEventFilter(this);
        connect(image, &TPictureBox::mousePressed, this,
                [this, image, t](QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers) {
                    if (button == Qt::LeftButton) pressed(image, position, t);
                });
        connect(image, &TPictureBox::mouseMoved, this,
                [this, image](QPoint position, Qt::MouseButtons, Qt::KeyboardModifiers) {
                    moved(image, position);
                });
        connect(image, &TPictureBox::mouseReleased, this,
                [this, image, t](QPoint, Qt::MouseButton, Qt::KeyboardModifiers) {
                    if (pressedWidget_ == image) {
                        pressedWidget_ = nullptr;
                        thumbnailClicked(t);
                    }
                });
        connect(image, &TPictureBox::mouseDoubleClicked, this,
                [this, t](QPoint, Qt::MouseButton button, Qt::KeyboardModifiers) {
                    if (button == Qt::LeftButton) thumbnailDoubleClicked(t);
                });
        connect(edits_[k], &QLineEdit::textEdited, this, [this, t](const QString& text) {
            if (updating_) return;
            const QByteArray name = text.toLatin1();
            record(slotOf(t)).setName(std::string_view(name.constData(), name.size()));
        });
        connect(buttons_[k], &QPushButton::clicked, this, [this, t] { ButtonClick(t); });
    }
    ui->Panel1->setAcceptDrops(true);
    ui->Panel1->installEventFilter(this);

    large_->bind(*ui->Image9);
    large_->setAllCursorsEnabled(true);
    large_->setZeroLineShown(true);
    // The cursors of the large display are always drawn, also while the pointer is elsewhere.
    large_->showCursors();
    large_->onCursorMoved = [this] { showReadouts(); };
    const ZoomButtons zoom{ui->ZoomMaxBtn, ui->ZoomInBtn, ui->ZoomOutBtn, ui->Zoom11Btn,
                           ui->OverZoomBtn};
    zoom.bind(*large_);

    connect(ui->DelSelWave, &QPushButton::clicked, this, &TGalleryForm::DelSelWaveClick);
    connect(ui->RstDefaultsBtn, &QPushButton::clicked, this, &TGalleryForm::RstDefaultsBtnClick);
    connect(ui->RealViewBtn, &QPushButton::clicked, this, &TGalleryForm::RealViewBtnClick);
    connect(ui->MathEditBtn, &QPushButton::clicked, this, [this] { openEditor(editors_.formula); });
    connect(ui->HandEditBtn, &QPushButton::clicked, this, [this] { openEditor(editors_.hand); });
    connect(ui->HarmEditBtn, &QPushButton::clicked, this,
            [this] { openEditor(editors_.harmonic); });
    connect(ui->AModulBtn, &QPushButton::clicked, this,
            [this] { openEditor(editors_.modulation); });
    connect(ui->Button9, &QPushButton::clicked, this, [this] { openEditor(editors_.noise); });
    connect(ui->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    ui->FrequencyLabel->setText(QString::fromStdString(galleryFrequencyText(inputs_.frequency)));
    // The channel's slot in sight, with the row before it where there is one.
    ui->DeltaBar->setValue(
        std::clamp((selectedSlot_ - 1) / kGalleryRowLength - 1, 0, kDeltaBarMaximum));
    connect(ui->DeltaBar, &QScrollBar::valueChanged, this, [this] { refresh(); });
    RealViewBtnClick();
    refresh();
}

TGalleryForm::~TGalleryForm() = default;

QString TGalleryForm::dragFormat() {
    return QStringLiteral("application/x-q745-gallery-source");
}

QWidget* TGalleryForm::thumbnail(int t) const {
    return pictures_.at(static_cast<std::size_t>(t - 1));
}

int TGalleryForm::slotOf(int t) const {
    return thumbnailSlot(ui->DeltaBar->value(), t);
}

WaveformRecord& TGalleryForm::record(int slot) {
    return slotRecord(store_, slot);
}

// ---------------------------------------------------------------- showing

void TGalleryForm::refresh() {
    const QScopedValueRollback writing(updating_, true);
    for (int t = 1; t <= kGalleryThumbnails; ++t) {
        const auto k = static_cast<std::size_t>(t - 1);
        const int slot = slotOf(t);
        const WaveformRecord& shown = record(slot);
        thumbnails_[k]->setRecord(shown);
        const QString name = shown.isEmpty() ? QString(kEmptySlotText) : nameText(shown.name());
        if (edits_[k]->text() != name) edits_[k]->setText(name);
        if (shown.isEmpty()) {
            buttons_[k]->setText(QStringLiteral("Create"));
            buttons_[k]->setEnabled(true);
        } else {
            buttons_[k]->setText(QStringLiteral("Options"));
            const bool hasOptions =
                (shown.optionsKind == kOptionsSquare && editors_.square) ||
                (shown.optionsKind == kOptionsFormula && editors_.formulaOptions);
            buttons_[k]->setEnabled(hasOptions);
        }
        QPalette palette = frames_[k]->palette();
        palette.setColor(QPalette::WindowText, slot == selectedSlot_ ? SelectedFrame : OtherFrame);
        frames_[k]->setPalette(palette);
    }
    const bool canEdit = !record(selectedSlot_).isEmpty();
    ui->MathEditBtn->setEnabled(canEdit && editors_.formula);
    ui->HandEditBtn->setEnabled(canEdit && editors_.hand);
    ui->HarmEditBtn->setEnabled(canEdit && editors_.harmonic);
    ui->AModulBtn->setEnabled(canEdit && editors_.modulation);
    ui->Button9->setEnabled(canEdit && editors_.noise);
    showLargeDisplay(shownSlot_ != selectedSlot_);
}

void TGalleryForm::showLargeDisplay(bool newSlot) {
    const WaveformRecord& selected = record(selectedSlot_);
    if (newSlot)
        large_->showRecord(selected);
    else
        large_->setRecord(selected);
    shownSlot_ = selectedSlot_;
    showReadouts();
}

void TGalleryForm::showReadouts() {
    using Cursor = TWaveScreen::Cursor;
    GalleryCursorInput input;
    input.x1 = large_->cursorPoint(Cursor::V1);
    input.x2 = large_->cursorPoint(Cursor::V2);
    input.y1 = large_->cursorPoint(Cursor::H1);
    input.y2 = large_->cursorPoint(Cursor::H2);
    input.displayStep = std::max(large_->step(), 1);
    input.frequency = inputs_.frequency;
    input.peakToPeak = record(selectedSlot_).peakToPeak;
    input.levelMillivolts = inputs_.levelMillivolts;
    if (ui->RealViewBtn->isChecked() && inputs_.sampleMillivolts)
        input.absoluteMillivolts = inputs_.sampleMillivolts(input.y1);
    const GalleryReadout readout = galleryCursorReadout(input);
    ui->DeltaXLabel->setText(QString::fromStdString(readout.deltaX));
    ui->DeltaXPixLabel->setText(QString::fromStdString(readout.deltaXPixels));
    ui->DeltaXTimelabel->setText(QString::fromStdString(readout.deltaXTime));
    if (readout.deltaXFrequency)
        ui->DeltaXFreqLabel->setText(QString::fromStdString(*readout.deltaXFrequency));
    ui->DeltaYVLabel->setText(QString::fromStdString(readout.deltaYVolts));
    ui->DeltaYPerLabel->setText(QString::fromStdString(readout.deltaYPercent));
    ui->DeltaYAbsLabel->setText(QString::fromStdString(readout.deltaYAbsolute));
}

// Down: the waveform as the generator plays it, around the channel's zero mark; up: every point
// around 128.
void TGalleryForm::RealViewBtnClick() {
    const bool real = ui->RealViewBtn->isChecked();
    large_->setStep(real ? std::max(inputs_.sampleStep, 1) : 1);
    large_->setZeroMark(real ? inputs_.zeroMark : 128);
    showReadouts();
}

// ---------------------------------------------------------------- slots

void TGalleryForm::select(int slot) {
    if (record(slot).isEmpty()) return;
    selectedSlot_ = slot;
}

void TGalleryForm::thumbnailClicked(int t) {
    select(slotOf(t));
    refresh();
}

void TGalleryForm::thumbnailDoubleClicked(int t) {
    if (record(slotOf(t)).isEmpty()) ButtonClick(t);
}

void TGalleryForm::ButtonClick(int t) {
    const int slot = slotOf(t);
    WaveformRecord& target = record(slot);
    if (target.isEmpty()) {
        target = untitledWaveform();
        changed(slot);
        select(slot);
        refresh();
        return;
    }
    const WaveformEditors::Options* options = nullptr;
    if (target.optionsKind == kOptionsSquare) options = &editors_.square;
    if (target.optionsKind == kOptionsFormula) options = &editors_.formulaOptions;
    if (options == nullptr || !*options) return;
    if ((*options)(target, editorContext())) changed(slot);
    computeStatistics(target);
    refresh();
}

EditorContext TGalleryForm::editorContext() {
    EditorContext context;
    context.owner = this;
    context.channel = inputs_.channel;
    context.frequency = inputs_.frequency;
    context.sampleStep = inputs_.sampleStep;
    context.levelMillivolts = inputs_.levelMillivolts;
    context.zeroMark = inputs_.zeroMark;
    context.sampleMillivolts = inputs_.sampleMillivolts;
    return context;
}

void TGalleryForm::openEditor(const WaveformEditors::Editor& editor) {
    if (!editor || record(selectedSlot_).isEmpty()) return;
    const bool otherChannels = selectedSlot_ == inputs_.otherChannelSlot;
    if (otherChannels && !messages_.ask(kOtherChannelQuestion, MessageKind::Warning)) return;
    std::optional<WaveformRecord> made = editor(record(selectedSlot_), editorContext());
    if (!made) return;
    if (otherChannels) otherChannelChanged_ = true;
    WaveformRecord& target = record(selectedSlot_);
    copyRecord(*made, target);
    computeStatistics(target);
    changed(selectedSlot_);
    refresh();
}

void TGalleryForm::DelSelWaveClick() {
    if (isPredefinedSlot(selectedSlot_)) {
        messages_.error(kPredefinedNotDeleted);
        return;
    }
    WaveformRecord& target = record(selectedSlot_);
    if (target.isEmpty()) return;
    if (!messages_.ask(kDeleteQuestionStart + target.name())) return;
    clearRecord(target);
    changed(selectedSlot_);
    selectedSlot_ = 1;
    refresh();
}

void TGalleryForm::RstDefaultsBtnClick() {
    resetPredefined(store_);
    for (int slot = 1; slot <= kPredefinedSlotCount; ++slot)
        changed(slot);
    otherChannelChanged_ = true;
    refresh();
}

// ---------------------------------------------------------------- drag and drop

void TGalleryForm::pressed(QWidget* source, QPoint position, std::optional<int> thumbnail) {
    pressedWidget_ = source;
    pressPosition_ = position;
    pressedThumbnail_ = thumbnail;
}

void TGalleryForm::moved(QWidget* source, QPoint position) {
    if (pressedWidget_ != source ||
        (position - pressPosition_).manhattanLength() < QApplication::startDragDistance())
        return;
    pressedWidget_ = nullptr;
    DragSource from;
    if (pressedThumbnail_) {
        from.slot = slotOf(*pressedThumbnail_);
        // An empty slot has nothing to copy or export; dropping it would clear the target.
        if (record(*from.slot).isEmpty()) return;
    }
    startDrag(source, from);
}

void TGalleryForm::startDrag(QWidget* source, const DragSource& from) {
    auto* payload = new QMimeData;
    payload->setData(dragFormat(),
                     (from.slot ? QString::number(*from.slot) : PanelSource).toLatin1());
    auto* drag = new QDrag(source);
    drag->setMimeData(payload);
    {
        const QScopedValueRollback duringDrag(dragging_, true);
        drag->exec(Qt::CopyAction);
    }
    // The file dialogs of a drop open once the drag has ended.
    if (pendingDrop_) {
        const auto [dropped, target] = *pendingDrop_;
        pendingDrop_.reset();
        drop(dropped, target);
    }
}

bool TGalleryForm::dragEvent(QObject* watched, QEvent* event) {
    const auto* dragged = static_cast<QDropEvent*>(event);
    if (!dragged->mimeData()->hasFormat(dragFormat())) return false;
    const QString payload = QString::fromLatin1(dragged->mimeData()->data(dragFormat()));
    DragSource from;
    if (payload != PanelSource) {
        bool number = false;
        const int slot = payload.toInt(&number);
        if (!number || slot < 1 || slot > kStoreSlotCount) return false;
        from.slot = slot;
    }
    std::optional<int> target;
    if (watched != ui->Panel1) {
        for (int t = 1; t <= kGalleryThumbnails; ++t)
            if (thumbnail(t) == watched) target = t;
    } else if (!from.slot) {
        return false;  // the panel onto itself
    }
    auto* accepting = static_cast<QDropEvent*>(event);
    accepting->setDropAction(Qt::CopyAction);
    accepting->accept();
    if (event->type() == QEvent::Drop) {
        if (dragging_)
            pendingDrop_.emplace(from, target);
        else
            drop(from, target);
    }
    return true;
}

void TGalleryForm::drop(const DragSource& from, std::optional<int> thumbnail) {
    if (!thumbnail) {
        if (from.slot) exportSlot(*from.slot);
        return;
    }
    const int target = slotOf(*thumbnail);
    if (!from.slot) {
        importInto(target);
        return;
    }
    if (*from.slot != target) {
        copySlot(store_, *from.slot, target);
        changed(target);
    }
    select(target);
    refresh();
}

QString TGalleryForm::askWaveFile(const QString& title, const QString& proposed, bool save) {
    QString name = askFileName_(this, title, WaveFileFilter, proposed, save);
    if (!inputs_.startDirectory.empty())
        QDir::setCurrent(QString::fromStdString(inputs_.startDirectory));
    if (!name.isEmpty() && fileExtension(name.toStdString()).empty())
        name += QStringLiteral(".gaw");
    return name;
}

void TGalleryForm::exportSlot(int slot) {
    const QString name =
        askWaveFile(QStringLiteral("Export wave"), nameText(record(slot).name()) + ".gaw", true);
    if (name.isEmpty()) return;
    exportRecord(record(slot), std::filesystem::path(name.toStdString()), messages_);
}

void TGalleryForm::importInto(int slot) {
    const QString name = askWaveFile(QStringLiteral("Import wave"), QString(), false);
    if (name.isEmpty()) return;
    if (importRecord(record(slot), std::filesystem::path(name.toStdString()), true, messages_))
        changed(slot);
    select(slot);
    refresh();
}

bool TGalleryForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (dragEvent(watched, event)) return true;
            break;
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (watched == ui->Panel1 && mouse->button() == Qt::LeftButton) {
                pressed(ui->Panel1, mouse->position().toPoint(), std::nullopt);
                return true;
            }
            for (int t = 1; t <= kGalleryThumbnails; ++t) {
                if (watched == frames_[static_cast<std::size_t>(t - 1)]) {
                    thumbnailClicked(t);
                    return true;
                }
            }
            break;
        }
        case QEvent::MouseMove:
            if (watched == ui->Panel1) {
                moved(ui->Panel1, static_cast<QMouseEvent*>(event)->position().toPoint());
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (watched == ui->Panel1) pressedWidget_ = nullptr;
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}
