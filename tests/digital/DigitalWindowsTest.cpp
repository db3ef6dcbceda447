// The windows of digital mode driven through their controls: the sequence display, the digital
// wave editor and the signal and macro dialogs, with the operator's answers scripted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <fstream>

#include "DigitalBuilders.h"
#include "DigitalScratch.h"
#include "ModalDriver.h"
#include "RecordingMessages.h"
#include "RecordingProgress.h"
#include "ScriptedValueDialog.h"
#include "digital/AddMacroScreen.h"
#include "digital/BusValueDialog.h"
#include "digital/BusValueScreen.h"
#include "digital/ConfigureMacroScreen.h"
#include "digital/ConfigureWaveScreen.h"
#include "digital/DigitalEditScreen.h"
#include "digital/DigitalMacroScreen.h"
#include "digital/DigitalWaveScreen.h"
#include "digital/MacroLibrary.h"
#include "digital/MacroValueScreen.h"
#include "digital/WaveFile.h"
#include "shell/PictureBox.h"
#include "ui_AddMacroScreen.h"
#include "ui_BusValueScreen.h"
#include "ui_ConfigureMacroScreen.h"
#include "ui_ConfigureWaveScreen.h"
#include "ui_DigitalEditScreen.h"
#include "ui_DigitalMacroScreen.h"
#include "ui_MacroValueScreen.h"

namespace {

// The rows of the display: row r spans y 20(r+1) to 20(r+1)+19.
int rowY(int row) {
    return 20 * (row + 1) + 10;
}

void press(QWidget* picture, int x, int y) {
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(x, y));
}

// The operator drags line sourceLine of one list onto line targetLine of another (-1: below the
// last line).
void dragLine(QListWidget& source, int sourceLine, QListWidget& target, int targetLine) {
    source.setCurrentRow(sourceLine);
    std::unique_ptr<QMimeData> data(
        source.model()->mimeData({source.model()->index(sourceLine, 0)}));
    const QPoint at = targetLine >= 0 ? target.visualItemRect(target.item(targetLine)).center()
                                      : QPoint(4, target.viewport()->height() - 4);
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target.viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target.viewport(), &drop);
}

class ScriptedBusDialog final : public BusValueDialog {
public:
    std::optional<std::string> askBusValue(const std::string& valueText) override {
        asked.push_back(valueText);
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::string> asked;
};

// ---------------------------------------------------------------- the display

struct DisplayRig {
    explicit DisplayRig(TDigitalWave shown) : wave(std::move(shown)) {
        picture.resize(777, 288);
        bar.setOrientation(Qt::Horizontal);
        display.onSelect = [this] { ++selects; };
        display.onCellClick = [this](int signal, std::uint16_t& word) {
            cellClicks.push_back(signal);
            word ^= 0x8000;
        };
        display.onCursorMove = [this] { ++cursorMoves; };
        TDigitalWaveScreen::Flags flags;
        flags.editable = true;
        flags.showCursor = true;
        display.attach(
            picture, &bar, [] { return 1000.0; }, flags);
        display.setWave(wave);
        display.redraw();
    }

    TDigitalWave wave;
    TPictureBox picture;
    QScrollBar bar;
    TDigitalWaveScreen display;
    int selects = 0;
    int cursorMoves = 0;
    std::vector<int> cellClicks;
};

TEST(SequenceDisplay, KindColumnTogglesClocksButNeverABus) {
    DisplayRig rig(waveOf({busSignal("B", {0, 1}), singleSignal("S", 2)}, {0, 0, 0}));
    press(&rig.picture, 745, rowY(0));
    EXPECT_FALSE(rig.wave.signals[0].isClock()) << "a bus stays a sequence signal";
    press(&rig.picture, 745, rowY(1));
    ASSERT_TRUE(rig.wave.signals[1].isClock());
    press(&rig.picture, 772, 20 * 2 + 4);  // upper half of the clock's buttons
    press(&rig.picture, 772, 20 * 2 + 4);
    press(&rig.picture, 772, 20 * 2 + 16);
    EXPECT_EQ(rig.wave.signals[1].clockBit, 1);
    press(&rig.picture, 745, rowY(1));
    EXPECT_FALSE(rig.wave.signals[1].isClock());
    // The "E" of a sequence signal hands over the step word at the cursor.
    press(&rig.picture, 772, rowY(0));
    EXPECT_EQ(rig.cellClicks, std::vector<int>{0});
    EXPECT_EQ(rig.wave.word(0), 0x8000);
}

TEST(SequenceDisplay, SelectionScrollBarAndCursorDrag) {
    DisplayRig rig(waveOf({singleSignal("S", 0)}, std::vector<std::uint16_t>(5, 0)));
    EXPECT_FALSE(rig.bar.isEnabled()) << "five steps fit the plot";
    press(&rig.picture, 20, rowY(0));
    EXPECT_EQ(rig.display.selectedSignal(), 0);
    press(&rig.picture, 20, rowY(5));
    EXPECT_EQ(rig.display.selectedSignal(), -1) << "below the last signal nothing is selected";

    setWaveLength(rig.wave, 100);
    rig.display.setWave(rig.wave);
    EXPECT_TRUE(rig.bar.isEnabled());
    EXPECT_EQ(rig.bar.maximum(), 100 - 19);
    rig.bar.setValue(30);
    EXPECT_EQ(rig.display.geometry().firstStep, 30);
    rig.bar.setValue(0);

    // The cursor (step 0 at x 106) is dragged to step 5.
    QTest::mousePress(&rig.picture, Qt::LeftButton, {}, QPoint(108, rowY(0)));
    QMouseEvent move(QEvent::MouseMove, QPointF(106 + 5 * 32 + 10, rowY(0)), QPointF(),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&rig.picture, &move);
    QTest::mouseRelease(&rig.picture, Qt::LeftButton, {}, QPoint(106 + 5 * 32 + 10, rowY(0)));
    EXPECT_EQ(rig.display.cursor(), 5);
    EXPECT_EQ(rig.cursorMoves, 1);
    EXPECT_EQ(rig.display.marker(), 0);
}

// ---------------------------------------------------------------- the editor

class Editor : public DigitalScratch {
protected:
    // Opens the editor on the main wave, with the library in the scratch folder.
    TDigitalEditForm& open() {
        editor = std::make_unique<TDigitalEditForm>(
            mainWave, [] { return 1000.0; }, folder, progress, messages, nullptr,
            DigitalEditDialogs{&busDialog, &valueDialog});
        editor->setFileNameAsker([this](QWidget*, const QString&, const QString&, const QString&,
                                        bool) { return QString::fromStdString(fileAnswer); });
        editor->show();
        return *editor;
    }
    Ui::TDigitalEditForm& ui() { return editor->controls(); }
    void select(int row) { press(ui().DigitalImage, 20, rowY(row)); }

    TDigitalWave mainWave;
    RecordingMessages messages;
    RecordingProgress progress;
    ScriptedBusDialog busDialog;
    ScriptedValueDialog valueDialog;
    std::string fileAnswer;
    std::unique_ptr<TDigitalEditForm> editor;
};

TEST_F(Editor, InsertAndDeleteStepsAtTheCursor) {
    mainWave = waveOf({busSignal("B", {0, 1, 2, 3})}, {1, 2, 3, 4});
    open();
    editor->display().cursor() = 2;
    ui().DigitalInsertStepBtn->click();
    EXPECT_EQ(signalTrace(editor->workingWave(), 0), (std::vector<int>{1, 2, 3, 3, 4}));
    EXPECT_EQ(editor->display().cursor(), 3);
    EXPECT_EQ(mainWave.length(), 4) << "nothing reaches the main wave before Ok";

    // "Del steps" with "Break" after the third step.
    progress.breakAt = 3;
    ui().DelStepsEdit->setText("10");
    ui().DelStepsBtn->click();
    // From the cursor on step 3; at the end the cursor falls back to the last step.
    EXPECT_EQ(signalTrace(editor->workingWave(), 0), (std::vector<int>{1, 2}));
    EXPECT_EQ(editor->display().cursor(), 1);
    EXPECT_EQ(progress.maximum, 10);
    EXPECT_TRUE(progress.finished);

    messages.answers = {MessageResult::No, MessageResult::Yes, MessageResult::Yes};
    ui().ClearWaveBtn->click();
    EXPECT_EQ(editor->workingWave().length(), 2);
    ui().ClearWaveBtn->click();
    EXPECT_EQ(editor->workingWave().length(), 0);
    EXPECT_EQ(editor->workingWave().signalCount, 1) << "the signals stay";
    ui().NewWaveBtn->click();
    EXPECT_EQ(editor->workingWave().signalCount, 0);
    EXPECT_EQ(messages.texts().back(), "Vsetky data a prvky budu stratene.\r\nChcete pokracovat ?");
}

TEST_F(Editor, DeletingTheOnlyStepThenOneStepAppendsAFreshStep) {
    mainWave = waveOf({singleSignal("S", 0), clockSignal("C", 1, 0, 1)}, {0xFFFF});
    open();
    ui().DigitalDeleteStepBtn->click();
    EXPECT_EQ(editor->workingWave().length(), 0);
    ui().DigitalOneStepBtn->click();
    ASSERT_EQ(editor->workingWave().length(), 1);
    EXPECT_EQ(editor->workingWave().word(0), 0x0002) << "all zero but the clock's level";
    // The counter of the clock is shown and set through the panel.
    select(1);
    EXPECT_EQ(ui().DigitalTypeEdit->text(), "Clock");
    EXPECT_EQ(ui().DigitalCounterEdit->text(), "2");
    ui().DigitalCounterEdit->setText("7");
    QTest::keyClick(ui().DigitalCounterEdit, Qt::Key_Return);
    EXPECT_EQ(editor->workingWave().signals[1].counter, 7);
}

TEST_F(Editor, ExplodeAndImplodeKeepLinesAndWords) {
    mainWave = waveOf({busSignal("DATA", {4, 9, 2})}, {0x0214, 0x0000});
    open();
    select(0);
    EXPECT_EQ(ui().DigitalBindingsList->count(), 3);
    EXPECT_EQ(ui().DigitalBindingsList->item(1)->text(), "DATA[1] = D9");
    ASSERT_TRUE(ui().DigitalExplodeBusBtn->isEnabled());
    ui().DigitalExplodeBusBtn->click();
    const TDigitalWave& wave = editor->workingWave();
    ASSERT_EQ(wave.signalCount, 3);
    EXPECT_EQ(wave.signals[0].name, "DATA00");
    EXPECT_EQ(wave.signals[2].name, "DATA02");
    select(1);
    ASSERT_TRUE(ui().DigitalImplodeBusBtn->isEnabled());
    ui().DigitalImplodeBusBtn->click();
    ASSERT_EQ(wave.signalCount, 1);
    EXPECT_EQ(signalDisplayName(wave.signals[0]), "DATA[0:2]");
    EXPECT_EQ(signalLineMask(wave.signals[0]), 0x0214);
    EXPECT_EQ(wave.word(0), 0x0214);
    EXPECT_EQ(getSignalValue(wave.signals[0], wave.word(0)), 7);
    EXPECT_EQ(editor->display().selectedSignal(), 0) << "the new bus is selected";
}

TEST_F(Editor, OkWithARunningMacroAsksAndNoKeepsTheEditorOpen) {
    TDigitalWave loaded = waveOf({singleSignal("S", 0)}, {1, 0});
    MacroQueue queue;
    queue.push_back(runningEntry("M", waveOf({singleSignal("E", 0)}, {1}), {0}, 2));
    ASSERT_TRUE(saveWaveFile(loaded, queue, folder / "w.gdw", messages));
    fileAnswer = (folder / "w.gdw").string();
    open();
    ui().LoadWaveBtn->click();
    ASSERT_EQ(editor->runningMacros().size(), 1u);
    ASSERT_EQ(ui().RunningMacrosBox->count(), 1);
    ui().RunningMacrosBox->setCurrentRow(0);
    EXPECT_EQ(ui().MacroPosition->text(), "Waiting");
    EXPECT_EQ(ui().MacroCycles->text(), "2 remaining");
    EXPECT_FALSE(ui().DigitalExplodeBusBtn->isEnabled());

    messages.answers = {MessageResult::No};
    ui().OkBtn->click();
    EXPECT_NE(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->runningMacros().size(), 1u);
    EXPECT_EQ(mainWave.length(), 0);
    EXPECT_EQ(messages.texts().back(), "Niektore makra nie su rozvinute.\r\nChcete pokracovat ?");

    ui().DigitalOneStepBtn->click();  // cursor from step 0 to 1: nothing is appended
    EXPECT_EQ(editor->workingWave().length(), 2);
    messages.answers = {MessageResult::Yes};
    ui().OkBtn->click();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_TRUE(sameWave(mainWave, loaded));
}

TEST_F(Editor, CancelledNewMacroLeavesTheLibraryAndCancelStillWritesIt) {
    MacroLibrary library(2);
    library[0].name = "beta";
    library[1].name = "Alpha";
    for (TDigitalMacro& macro : library)
        macro.wave = waveOf({singleSignal("E", 0)}, {1});
    ASSERT_TRUE(saveLibrary(library, folder, messages));
    open();
    ASSERT_EQ(ui().DigitalMacroBox->count(), 2);
    EXPECT_EQ(ui().DigitalMacroBox->item(0)->text(), "Alpha");

    whenModalShown([](QWidget* modal) {
        auto* setup = qobject_cast<TDigitalMacroForm*>(modal);
        ASSERT_NE(setup, nullptr);
        EXPECT_EQ(setup->controls().MacroNameEdit->text(), "MyMacro");
        setup->controls().CancelBtn->click();
    });
    ui().NewMacroBtn->click();
    EXPECT_EQ(editor->library().size(), 2u);

    ui().DeleteMacroBtn->click();
    EXPECT_EQ(messages.texts().back(), "Zvolte si makro");
    ui().DigitalMacroBox->setCurrentRow(1);
    messages.answers = {MessageResult::Yes};
    ui().DeleteMacroBtn->click();
    EXPECT_EQ(messages.texts().back(), "Ste si isty, ze chcete zmazat makro \"beta\" ?");
    ui().CancelBtn->click();
    editor.reset();

    MacroLibrary saved;
    ASSERT_TRUE(loadLibrary(saved, folder, messages));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].name, "Alpha");
}

TEST_F(Editor, LibraryMacroDroppedOnTheRunningListBecomesAnEntry) {
    mainWave = waveOf({busSignal("T", {8, 9}), singleSignal("U", 10)}, {0});
    MacroLibrary library(1);
    library[0].name = "Count";
    library[0].wave = waveOf({busSignal("D", {0, 1, 2, 3})}, {0});
    library[0].bindings.push_back({0, 0, 0, 0});
    ASSERT_TRUE(saveLibrary(library, folder, messages));
    open();
    ui().DigitalMacroBox->setCurrentRow(0);
    whenModalShown([this](QWidget* modal) {
        auto* add = qobject_cast<TAddMacroForm*>(modal);
        ASSERT_NE(add, nullptr);
        Ui::TAddMacroForm& dialog = add->controls();
        dialog.OkBtn->click();
        EXPECT_EQ(messages.texts().back(), "Musite priradit kazdy prvok makra");
        dragLine(*dialog.SrcBox, 0, *dialog.TrgtBox, 0);
        EXPECT_EQ(dialog.TrgtBox->item(0)->text(), "T[0:1] = D[0:3] !!!");
        EXPECT_EQ(dialog.TrgtBox->item(1)->text(), "U <not assigned>");
        dialog.CountEdit->setText("3");
        dialog.OkBtn->click();
    });
    dragLine(*ui().DigitalMacroBox, 0, *ui().RunningMacrosBox, -1);
    ASSERT_EQ(editor->runningMacros().size(), 1u);
    EXPECT_EQ(editor->runningMacros()[0].targetMap[0], 0);
    EXPECT_EQ(editor->runningMacros()[0].remaining, 3);
    EXPECT_EQ(editor->library()[0].targetMap[0], 0) << "the next drop starts from it";
    EXPECT_EQ(ui().RunningMacrosBox->item(0)->text(), "Count");
}

// ---------------------------------------------------------------- the dialogs

TEST(ConfigureWave, NewNetRulesThenPinsByDragging) {
    TDigitalWave nets = waveOf({singleSignal("A", 0), busSignal("B", {1, 2})});
    RecordingMessages messages;
    TConfigureWaveForm form(nets, messages);
    form.show();
    Ui::TConfigureWaveForm& ui = form.controls();
    EXPECT_EQ(ui.AvailPinsBox->item(2)->text(), "D2 <assigned to B[1]>");
    const auto tryNet = [&](const QString& name, bool bus, const QString& top) {
        (bus ? ui.BusBox : ui.SimpleBox)->setChecked(true);
        ui.SignalNameEdit->setText(name);
        ui.TopBusEdit->setText(top);
        const std::size_t before = messages.calls.size();
        ui.NextStepBtn->click();
        return messages.calls.size() == before ? std::string() : messages.texts().back();
    };
    const std::string clash = "Prvok s takym menom uz existuje";
    EXPECT_EQ(tryNet("b01", false, "0"), clash);
    EXPECT_EQ(tryNet("A", false, "0"), clash);
    EXPECT_EQ(tryNet("A", true, "1"), clash) << "its own name clashes";
    EXPECT_EQ(tryNet("Y", true, "0"), "Nespravna velkost zbernice");
    EXPECT_EQ(tryNet("Y", true, "16"), "Nespravna velkost zbernice");
    EXPECT_EQ(tryNet("Y", true, "15"), "");
    EXPECT_EQ(ui.AssignedPinBox->count(), 16);
    ui.DiscardNewSignalBtn->click();
    EXPECT_TRUE(ui.NextStepBtn->isEnabled());

    ASSERT_EQ(tryNet("X", true, "1"), "");
    EXPECT_FALSE(ui.NextStepBtn->isEnabled());
    EXPECT_EQ(ui.AssignedPinBox->item(0)->text(), "X[0] <unassigned>");
    ui.AddToSignalsBtn->click();
    EXPECT_EQ(messages.texts().back(), "Prvok obsahuje nepriradeny pin");
    dragLine(*ui.AvailPinsBox, 1, *ui.AssignedPinBox, 0);  // an assigned line is refused
    EXPECT_EQ(ui.AssignedPinBox->item(0)->text(), "X[0] <unassigned>");
    dragLine(*ui.AvailPinsBox, 7, *ui.AssignedPinBox, 0);
    dragLine(*ui.AvailPinsBox, 5, *ui.AssignedPinBox, 1);
    EXPECT_EQ(ui.AssignedPinBox->item(1)->text(), "X[1] = D5");
    EXPECT_EQ(ui.AvailPinsBox->item(7)->text(), "D7 <assigned to X[0]>");
    ui.AddToSignalsBtn->click();
    ASSERT_EQ(nets.signalCount, 3);
    EXPECT_EQ(nets.signals[2].pins[0], (PinEntry{0x80, 7}));
    EXPECT_EQ(nets.signals[2].pins[1], (PinEntry{0x20, 4}));

    ui.SignalListBox->setCurrentRow(2);
    ui.UpBtn->click();
    EXPECT_EQ(nets.signals[1].name, "X");
    EXPECT_EQ(ui.SignalListBox->currentRow(), 1) << "the selection follows";
}

TEST(ConfigureMacro, ElementsTakeTheFreeLinesUntilNoneIsLeft) {
    TDigitalWave elements;
    RecordingMessages messages;
    TConfigureMacroForm form(elements, messages);
    Ui::TConfigureMacroForm& ui = form.controls();
    ui.BusBox->setChecked(true);
    for (const char* name : {"P", "Q"}) {
        ui.SignalNameEdit->setText(name);
        ui.TopBusEdit->setText("7");
        ui.AddToSignalsBtn->click();
    }
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(signalLineMask(elements.signals[1]), 0xFF00);
    ui.SimpleBox->setChecked(true);
    ui.SignalNameEdit->setText("R");
    ui.AddToSignalsBtn->click();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je dost miesta na vytvorenie prvku"});
    EXPECT_EQ(ui.SignalListBox->count(), 2);
}

class AddMacro : public DigitalScratch {};

TEST_F(AddMacro, CountFromFileFollowsOffsetAndValueSize) {
    std::ofstream(folder / "values.bin", std::ios::binary) << std::string(1000, 'x');
    TDigitalMacro entry;
    entry.name = "M";
    entry.wave = waveOf({singleSignal("E", 0)}, {0});
    entry.bindings.push_back({});
    const TDigitalWave wave = waveOf({singleSignal("T", 3)});
    RecordingMessages messages;
    TAddMacroForm form(entry, wave, messages, folder);
    Ui::TAddMacroForm& ui = form.controls();
    ASSERT_TRUE(ui.CheckBox1->isEnabled()) << "the macro has bindings";
    ui.CheckBox1->setChecked(true);
    ui.Edit1->setText(QString::fromStdString((folder / "values.bin").string()));
    ui.ComboBox1->setCurrentIndex(1);
    ui.Button2->click();
    EXPECT_EQ(ui.CountEdit->text(), "500");
    ui.Edit2->setText("1");
    ui.Button2->click();
    EXPECT_EQ(ui.CountEdit->text(), "499");
}

TEST(SetupMacro, BusBitRangeEndsAtBit31) {
    MacroLibrary library(1);
    library[0].name = "M";
    library[0].description = "V00-V31";
    library[0].wave = waveOf({busSignal("D", {0, 1, 2, 3, 4, 5, 6, 7})}, {0});
    RecordingMessages messages;
    RecordingProgress progress;
    ScriptedBusDialog bus;
    TDigitalMacroForm form(library, 0, messages, progress, bus, [] { return 1000.0; });
    Ui::TDigitalMacroForm& ui = form.controls();
    press(ui.DigitalImage, 20, rowY(0));
    ASSERT_TRUE(ui.AssignValueBtn->isEnabled());
    EXPECT_EQ(ui.AssignedLabel->text(), "Value not assigned");
    ui.BusAssignFromEdit->setText("24");
    EXPECT_EQ(ui.BusAssignToEdit->text(), "31");
    ui.AssignValueBtn->click();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nespravne hodnoty"});
    EXPECT_TRUE(library[0].bindings.empty());
    ui.BusAssignFromEdit->setText("23");
    ui.AssignValueBtn->click();
    ASSERT_EQ(library[0].bindings.size(), 1u);
    EXPECT_EQ(library[0].bindings[0].bit, 23);
    EXPECT_EQ(ui.AssignedLabel->text(), "Value assigned");
    // The test value 55555555h from bit 23 on: 0xAA.
    EXPECT_EQ(library[0].wave.word(0), 0x00AA);
}

TEST(ValueDialogs, FourWaysToCloseWithAValueAndAbort) {
    RecordingMessages messages;
    TMacroValueForm form(messages);
    MacroValueRequest request;
    request.macroName = "M";
    request.cycleNumber = 3;
    request.description = "Address";
    request.valueText = "1F";
    const std::vector<QPushButton*> buttons = {form.controls().OkBtn, form.controls().FinishBtn,
                                               form.controls().FinishMinusBtn,
                                               form.controls().FinishPlusBtn};
    for (std::size_t choice = 0; choice < buttons.size(); ++choice) {
        whenModalShown([&, choice](QWidget*) {
            EXPECT_EQ(form.controls().MacroCycleEdit->text(), "3");
            EXPECT_EQ(form.controls().ValueDescLabel->text(), "Address");
            EXPECT_EQ(form.controls().ValueDescEdit->selectedText(), "1F");
            buttons[choice]->click();
        });
        const auto answer = form.askMacroValue(request);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->value, 0x1Fu);
        EXPECT_EQ(answer->valueSource, choice);
    }
    whenModalShown([&](QWidget*) {
        form.controls().ValueDescEdit->setText("XZ");
        form.controls().OkBtn->click();
        EXPECT_TRUE(form.isVisible()) << "an invalid value keeps the dialog open";
        form.controls().AbortBtn->click();
    });
    EXPECT_FALSE(form.askMacroValue(request));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Incorrect hexadecimal number"});

    TBusValueForm bus;
    whenModalShown([&](QWidget*) {
        QTest::keyClicks(bus.controls().ValueBox, "A5");  // replaces the selected text
        QTest::keyClick(bus.controls().ValueBox, Qt::Key_Return);
    });
    EXPECT_EQ(bus.askBusValue("0F"), std::optional<std::string>("A5"));
    whenModalShown([&](QWidget*) { QTest::keyClick(bus.controls().ValueBox, Qt::Key_Escape); });
    EXPECT_FALSE(bus.askBusValue("0F"));
}

}  // namespace
