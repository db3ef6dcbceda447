#include "digital/DigitalEditScreen.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/UnitFormat.h"
#include "core/UserMessages.h"
#include "digital/AddMacroScreen.h"
#include "digital/BusValueScreen.h"
#include "digital/ConfigureWaveScreen.h"
#include "digital/DigitalInterfaceScreen.h"
#include "digital/DigitalMacroScreen.h"
#include "digital/DigitalWaveScreen.h"
#include "digital/ListDrop.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"
#include "digital/MacroSetupRules.h"
#include "digital/MacroValueScreen.h"
#include "digital/RunningMacros.h"
#include "digital/VcdWriter.h"
#include "digital/WaveFile.h"
#include "ui_DigitalEditScreen.h"

namespace {

const char* const UnexpandedQuestion = "Niektore makra nie su rozvinute.\r\nChcete pokracovat ?";
const char* const NewWaveQuestion = "Vsetky data a prvky budu stratene.\r\nChcete pokracovat ?";
const char* const ClearWaveQuestion = "Vsetky data budu stratene.\r\nChcete pokracovat ?";
const char* const ChooseMacro = "Zvolte si makro";
const QString WaveFilter = QStringLiteral("Digital wave file (*.gdw)");
const QString WaveFolder = QStringLiteral("DWaves");
const QString NotAvailable = QStringLiteral("N/A");

bool answeredNo(UserMessages& messages, const std::string& text, MessageKind kind) {
    return messages.messageBox(text, kind, MessageButtons::YesNo) == MessageResult::No;
}

// A chosen name without an extension gets the one of its filter.
QString withExtension(QString name, const QString& extension) {
    if (!name.isEmpty() && fileExtension(name.toStdString()).empty()) name += extension;
    return name;
}

}  // namespace

TDigitalEditForm::TDigitalEditForm(TDigitalWave& mainWave, std::function<double()> tickFrequency,
                                   std::filesystem::path startDirectory, ProgressReporter& progress,
                                   UserMessages& messages, QWidget* parent,
                                   DigitalEditDialogs dialogs)
    : QDialog(parent),
      ui(std::make_unique<Ui::TDigitalEditForm>()),
      mainWave_(mainWave),
      tickFrequency_(std::move(tickFrequency)),
      startDirectory_(std::move(startDirectory)),
      progress_(progress),
      messages_(messages),
      askFileName_(standardFileNameAsker()),
      display_(std::make_unique<TDigitalWaveScreen>()) {
    ui->setupUi(this);
    setFixedSize(size());
    loadLibrary(library_, startDirectory_, messages_);

    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen && (screen->size().width() < 800 || screen->size().height() < 600))
        useSmallScreenLayout();

    if (dialogs.busValue) {
        busDialog_ = dialogs.busValue;
    } else {
        busForm_ = std::make_unique<TBusValueForm>(this);
        busDialog_ = busForm_.get();
    }
    if (dialogs.macroValue) {
        valueDialog_ = dialogs.macroValue;
    } else {
        valueForm_ = std::make_unique<TMacroValueForm>(messages_, this);
        valueDialog_ = valueForm_.get();
    }

    copyWave(mainWave_, working_);

    TDigitalWaveScreen::Flags flags;
    flags.editable = true;
    flags.showCursor = true;
    flags.showMacroUse = true;
    display_->setRunningQueue(&running_);
    display_->attach(*ui->DigitalImage, ui->DigitalBar, tickFrequency_, flags);
    display_->setWave(working_);

    TDigitalInterface::Controls controls;
    controls.zoomIn = ui->DigitalZoomInBtn;
    controls.zoomOut = ui->DigitalZoomOutBtn;
    controls.oneStep = ui->DigitalOneStepBtn;
    controls.insertStep = ui->DigitalInsertStepBtn;
    controls.deleteStep = ui->DigitalDeleteStepBtn;
    controls.explode = ui->DigitalExplodeBusBtn;
    controls.implode = ui->DigitalImplodeBusBtn;
    controls.finishMacro = ui->DigitalFinishMacroBtn;
    controls.takeSteps = ui->TakeStepsBtn;
    controls.insSteps = ui->InsStepsBtn;
    controls.delSteps = ui->DelStepsBtn;
    controls.takeStepsEdit = ui->TakeStepsEdit;
    controls.insStepsEdit = ui->InsStepsEdit;
    controls.delStepsEdit = ui->DelStepsEdit;
    controls.typeEdit = ui->DigitalTypeEdit;
    controls.counterEdit = ui->DigitalCounterEdit;
    controls.bindingsList = ui->DigitalBindingsList;
    interface_ = std::make_unique<TDigitalInterface>(
        *display_, working_, &running_, controls, messages_, progress_, *busDialog_,
        static_cast<MacroValueDialog*>(this), tickFrequency_);
    interface_->onQueueChanged = [this] { refreshRunningList(); };
    interface_->wire();

    wireButtons();
    refreshLibraryList();
    refreshRunningList();
    display_->redraw();
}

TDigitalEditForm::~TDigitalEditForm() {
    saveLibrary();
}

void TDigitalEditForm::useSmallScreenLayout() {
    auto* content = new QWidget;
    content->setFixedSize(size());
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setParent(content);
    auto* scroller = new QScrollArea(this);
    scroller->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);
    resize(640, 480);
    move(0, 0);
}

void TDigitalEditForm::wireButtons() {
    connect(ui->OkBtn, &QPushButton::clicked, this, &TDigitalEditForm::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->NewWaveBtn, &QPushButton::clicked, this, &TDigitalEditForm::newWave);
    connect(ui->ClearWaveBtn, &QPushButton::clicked, this, &TDigitalEditForm::clearWave);
    connect(ui->ConfigureWaveBtn, &QPushButton::clicked, this, &TDigitalEditForm::configureWave);
    connect(ui->SaveWaveBtn, &QPushButton::clicked, this, &TDigitalEditForm::saveWave);
    connect(ui->LoadWaveBtn, &QPushButton::clicked, this, &TDigitalEditForm::loadWave);
    connect(ui->ExportVcdBtn, &QPushButton::clicked, this, &TDigitalEditForm::exportVcd);
    connect(ui->NewMacroBtn, &QPushButton::clicked, this, &TDigitalEditForm::newMacro);
    connect(ui->ConfigureMacroBtn, &QPushButton::clicked, this, &TDigitalEditForm::configureMacro);
    connect(ui->DeleteMacroBtn, &QPushButton::clicked, this, &TDigitalEditForm::deleteMacro);
    connect(ui->ExportMacroBtn, &QPushButton::clicked, this, &TDigitalEditForm::exportMacro);
    connect(ui->ImportMacroBtn, &QPushButton::clicked, this, &TDigitalEditForm::importMacro);
    connect(ui->RunningClearBtn, &QPushButton::clicked, this, &TDigitalEditForm::clearRunning);
    connect(ui->RunningDeleteBtn, &QPushButton::clicked, this, &TDigitalEditForm::deleteRunning);
    connect(ui->RunningMacrosBox, &QListWidget::currentRowChanged, this, [this] {
        showRunningSelection();
        if (display_) display_->redraw();
    });

    auto* drop = new ListDrop(*ui->DigitalMacroBox, *ui->RunningMacrosBox, false);
    drop->accepts = [this] { return selectedMacro() >= 0; };
    drop->onDrop = [this](int, int) { addRunningEntry(selectedMacro()); };
    // The buttons act on click only: Enter belongs to the count and counter fields.
    TDigitalInterface::leaveEnterToFields(*this);
}

QString TDigitalEditForm::askFileName(const QString& title, const QString& folder,
                                      const QString& filter, bool save) {
    const QString start =
        folder.isEmpty()
            ? QString()
            : QString::fromStdString((startDirectory_ / folder.toStdString()).string());
    const QString name = askFileName_ ? askFileName_(this, title, start, filter, save) : QString();
    QDir::setCurrent(QString::fromStdString(startDirectory_.string()));
    return name;
}

std::optional<MacroValueAnswer> TDigitalEditForm::askMacroValue(const MacroValueRequest& request) {
    display_->setHighlightedEntry(request.entry);
    display_->redraw();
    return valueDialog_->askMacroValue(request);
}

void TDigitalEditForm::showWave() {
    interface_->showWave();
}

// ---------------------------------------------------------------- closing

void TDigitalEditForm::accept() {
    if (!running_.empty() && answeredNo(messages_, UnexpandedQuestion, MessageKind::Error)) return;
    copyWave(working_, mainWave_);
    QDialog::accept();
}

void TDigitalEditForm::saveLibrary() {
    if (librarySaved_) return;
    librarySaved_ = true;
    interface_.reset();
    display_.reset();
    running_.clear();
    ::clearWave(working_);
    ::saveLibrary(library_, startDirectory_, messages_);
    library_.clear();
}

// ---------------------------------------------------------------- I/O

void TDigitalEditForm::newWave() {
    if (answeredNo(messages_, NewWaveQuestion, MessageKind::Error)) return;
    setWaveLength(working_, 0);
    working_.signalCount = 0;
    running_.clear();
    refreshRunningList();
    showWave();
}

void TDigitalEditForm::clearWave() {
    if (answeredNo(messages_, ClearWaveQuestion, MessageKind::Error)) return;
    setWaveLength(working_, 0);
    showWave();
}

void TDigitalEditForm::configureWave() {
    TDigitalWave nets;
    copyWave(working_, nets);
    TConfigureWaveForm dialog(nets, messages_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    copyWave(nets, working_);
    showWave();
}

void TDigitalEditForm::saveWave() {
    // The folder the dialog starts in is made on first use.
    std::error_code ignored;
    std::filesystem::create_directory(startDirectory_ / WaveFolder.toStdString(), ignored);
    const QString name = withExtension(
        askFileName(QStringLiteral("Save wave"), WaveFolder, WaveFilter, true), ".gdw");
    if (name.isEmpty()) return;
    saveWaveFile(working_, running_, std::filesystem::path(name.toStdString()), messages_);
}

void TDigitalEditForm::loadWave() {
    const QString name = askFileName(QStringLiteral("Load wave"), WaveFolder, WaveFilter, false);
    if (name.isEmpty()) return;
    loadWaveFile(working_, running_, std::filesystem::path(name.toStdString()), messages_);
    refreshRunningList();
    showWave();
}

void TDigitalEditForm::exportVcd() {
    const QString name =
        withExtension(askFileName(QStringLiteral("Export VCD"), QString(),
                                  QStringLiteral("Value Change Dump (*.vcd)"), true),
                      ".vcd");
    if (name.isEmpty()) return;
    writeVcdFile(working_, tickFrequency_ ? tickFrequency_() : 0,
                 std::filesystem::path(name.toStdString()), name.toStdString(), messages_);
}

// ---------------------------------------------------------------- library

void TDigitalEditForm::refreshLibraryList() {
    order_ = libraryOrder(library_);
    const int row = ui->DigitalMacroBox->currentRow();
    ui->DigitalMacroBox->clear();
    for (int index : order_)
        ui->DigitalMacroBox->addItem(
            QString::fromStdString(library_[static_cast<std::size_t>(index)].name));
    if (row >= 0 && row < ui->DigitalMacroBox->count()) ui->DigitalMacroBox->setCurrentRow(row);
}

int TDigitalEditForm::selectedMacro() const {
    const int line = ui->DigitalMacroBox->currentRow();
    if (line < 0 || static_cast<std::size_t>(line) >= order_.size()) return -1;
    if (!ui->DigitalMacroBox->item(line)->isSelected()) return -1;
    return order_[static_cast<std::size_t>(line)];
}

bool TDigitalEditForm::setUpMacro(int configuredIndex) {
    TDigitalMacroForm editor(library_, configuredIndex, messages_, progress_, *busDialog_,
                             tickFrequency_, this);
    return editor.exec() == QDialog::Accepted;
}

void TDigitalEditForm::newMacro() {
    library_.push_back(newLibraryMacro());
    if (setUpMacro(-1))
        refreshLibraryList();
    else
        library_.pop_back();
}

void TDigitalEditForm::configureMacro() {
    const int selected = selectedMacro();
    if (selected < 0) {
        messages_.error(ChooseMacro);
        return;
    }
    TDigitalMacro copy;
    copyMacro(library_[static_cast<std::size_t>(selected)], copy);
    library_.push_back(std::move(copy));
    const bool confirmed = setUpMacro(selected);
    if (confirmed) copyMacro(library_.back(), library_[static_cast<std::size_t>(selected)]);
    library_.pop_back();
    if (confirmed) refreshLibraryList();
}

void TDigitalEditForm::deleteMacro() {
    const int selected = selectedMacro();
    if (selected < 0) {
        messages_.error(ChooseMacro);
        return;
    }
    const std::string question = "Ste si isty, ze chcete zmazat makro \"" +
                                 library_[static_cast<std::size_t>(selected)].name + "\" ?";
    if (answeredNo(messages_, question, MessageKind::Confirmation)) return;
    library_.erase(library_.begin() + selected);
    refreshLibraryList();
}

void TDigitalEditForm::exportMacro() {
    const int line = selectedMacro() >= 0 ? ui->DigitalMacroBox->currentRow() : -1;
    ::exportMacro(library_, order_, line, startDirectory_, messages_);
}

void TDigitalEditForm::importMacro() {
    const QString name =
        askFileName(QStringLiteral("Import macro"), QString::fromUtf8(kExportFolderName),
                    QStringLiteral("Digital macro files (*.gma)"), false);
    if (name.isEmpty()) return;
    ::importMacro(library_, std::filesystem::path(name.toStdString()), messages_);
    refreshLibraryList();
}

// ---------------------------------------------------------------- running macros

void TDigitalEditForm::addRunningEntry(int libraryIndex) {
    if (libraryIndex < 0 || static_cast<std::size_t>(libraryIndex) >= library_.size()) return;
    TDigitalMacro entry;
    copyMacro(library_[static_cast<std::size_t>(libraryIndex)], entry);
    running_.push_back(std::move(entry));
    TAddMacroForm dialog(running_.back(), working_, messages_, startDirectory_, this);
    dialog.setFileNameAsker(askFileName_);
    if (dialog.exec() == QDialog::Accepted)
        library_[static_cast<std::size_t>(libraryIndex)].targetMap = running_.back().targetMap;
    else
        running_.pop_back();
    refreshRunningList();
    display_->redraw();
    // Explode and Implode wait for an empty queue.
    interface_->refreshPanel();
}

void TDigitalEditForm::refreshRunningList() {
    QListWidget& list = *ui->RunningMacrosBox;
    if (list.count() != static_cast<int>(running_.size())) {
        list.clear();
        for (const TDigitalMacro& entry : running_)
            list.addItem(QString::fromStdString(entry.name));
    } else {
        for (int line = 0; line < list.count(); ++line)
            list.item(line)->setText(
                QString::fromStdString(running_[static_cast<std::size_t>(line)].name));
    }
    showRunningSelection();
}

void TDigitalEditForm::showRunningSelection() {
    if (!display_) return;
    QListWidget& list = *ui->RunningMacrosBox;
    const int line =
        list.currentItem() && list.currentItem()->isSelected() ? list.currentRow() : -1;
    display_->setHighlightedEntry(line);
    if (line < 0 || static_cast<std::size_t>(line) >= running_.size()) {
        ui->MacroPosition->setText(NotAvailable);
        ui->MacroCycles->setText(NotAvailable);
        return;
    }
    const TDigitalMacro& entry = running_[static_cast<std::size_t>(line)];
    ui->MacroPosition->setText(entry.position < 0 ? QStringLiteral("Waiting")
                                                  : QString::number(entry.position + 1) + "/" +
                                                        QString::number(entry.wave.length()));
    ui->MacroCycles->setText(QString::number(entry.remaining) + " remaining");
}

void TDigitalEditForm::clearRunning() {
    if (::clearRunning(running_, messages_)) {
        refreshRunningList();
        display_->redraw();
    }
    interface_->refreshPanel();
}

void TDigitalEditForm::deleteRunning() {
    const int line = ui->RunningMacrosBox->currentRow();
    if (line < 0) return;
    if (::removeRunning(running_, line, messages_)) {
        refreshRunningList();
        display_->redraw();
    }
    interface_->refreshPanel();
}
