// The harmonic composer and its level dialog, worked through their controls.
#include "generators/HarmonicScreen.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

#include "ModalDriver.h"
#include "RecordingMessages.h"
#include "generators/HarmonicLevelScreen.h"
#include "shell/MessageBox.h"
#include "ui_HarmonicLevelScreen.h"
#include "ui_HarmonicScreen.h"
#include "waves/DataViewRows.h"
#include "waves/PredefinedWaveforms.h"

namespace {

constexpr int Decibels = 0;
constexpr int Percent = 1;

struct Composer {
    explicit Composer(const WaveformRecord& source = untitledWaveform()) : form(source) {}
    Ui::THarmonicForm& ui() { return form.controls(); }
    std::vector<std::string> lines() {
        std::vector<std::string> result;
        for (int row = 0; row < ui().HarmonicsBox->count(); ++row)
            result.push_back(ui().HarmonicsBox->item(row)->text().toStdString());
        return result;
    }
    void group(const QString& first, const QString& count, bool plus2) {
        ui().FirstEdit->setText(first);
        ui().CountEdit->setText(count);
        (plus2 ? ui().Plus2Box : ui().Plus1Box)->setChecked(true);
        ui().Button1->click();
    }

    RecordingMessages messages;
    ScopedMessageResponder responder{messages};
    THarmonicForm form;
};

// Answers the next level dialog: `answer` types into it and presses a button.
void whenLevelAsked(std::function<void(Ui::THarmonicLevelForm&)> answer) {
    whenModalShown([answer](QWidget* window) {
        answer(static_cast<THarmonicLevelForm*>(window)->controls());
    });
}

}  // namespace

TEST(HarmonicScreen, FinishGivesTheRestOfTheGroupTheSameLevel) {
    Composer composer;
    QString asked;
    whenLevelAsked([&](Ui::THarmonicLevelForm& level) {
        asked = level.Label2->text();
        level.LevelEdit->setText("50");
        level.LevelBox->setCurrentIndex(Percent);
        level.PhaseEdit->setText("90");
        level.FinishBtn->click();
    });
    composer.group("3", "3", true);
    EXPECT_EQ(asked, "3x");
    EXPECT_EQ(composer.lines(),
              (std::vector<std::string>{"Freq:3x Level:50% Phase:90", "Freq:5x Level:50% Phase:90",
                                        "Freq:7x Level:50% Phase:90"}));
    EXPECT_TRUE(composer.messages.calls.empty());
    EXPECT_DOUBLE_EQ(composer.form.block().harmonics[2].amplitude, 63.5);
    EXPECT_NE(composer.form.result().points, untitledWaveform().points) << "recomputed";

    composer.ui().Plus1Box->setChecked(true);
    EXPECT_FALSE(composer.ui().Plus2Box->isChecked()) << "the step boxes are a pair";
}

TEST(HarmonicScreen, FundamentalAndListedHarmonicsAreSkipped) {
    Composer composer;
    whenLevelAsked([](Ui::THarmonicLevelForm& level) { level.OkBtn->click(); });
    composer.ui().CustomFreqEdit->setText("3");
    QTest::keyClick(composer.ui().CustomFreqEdit, Qt::Key_Return);
    ASSERT_EQ(composer.lines(), std::vector<std::string>{"Freq:3x Level:0dB Phase:0"});

    whenLevelAsked([](Ui::THarmonicLevelForm& level) {
        EXPECT_EQ(level.Label2->text(), "2x");
        EXPECT_EQ(level.LevelEdit->text(), "0") << "proposed";
        level.OkBtn->click();
    });
    composer.group("1", "3", false);
    EXPECT_EQ(composer.messages.texts(),
              (std::vector<std::string>{"Zoznam uz obsahuje 1. harmonicku",
                                        "Zoznam uz obsahuje 3. harmonicku"}));
    EXPECT_EQ(composer.lines().size(), 2u);
    EXPECT_EQ(composer.form.block().harmonics[1].number, 2);

    composer.ui().CustomFreqEdit->setText("0");
    composer.ui().AddCustomToList->click();
    EXPECT_EQ(composer.messages.texts().back(), "Hodnoty su nespravne");
}

TEST(HarmonicScreen, FortyDecibelsIsTheLimit) {
    Composer composer;
    bool stayedOpen = false;
    whenLevelAsked([&](Ui::THarmonicLevelForm& level) {
        level.LevelBox->setCurrentIndex(Decibels);
        level.LevelEdit->setText("40,5");
        level.OkBtn->click();
        stayedOpen = level.LevelEdit->window()->isVisible();
        EXPECT_EQ(level.LevelEdit->text(), "40.5") << "the comma read as the point";
        level.LevelEdit->setText("40");
        level.OkBtn->click();
    });
    composer.ui().AddCustomToList->click();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(composer.messages.texts(),
              std::vector<std::string>{"40.5dB nie je platna hodnota (prilis vysoka)"});
    ASSERT_EQ(composer.form.block().count, 1);
    EXPECT_DOUBLE_EQ(composer.form.block().harmonics[0].amplitude, 12700);
}

TEST(HarmonicScreen, MathLevelProposesEachHarmonicsLevel) {
    Composer composer;
    composer.ui().CheckBox1->setChecked(true);
    EXPECT_TRUE(composer.ui().FormulaEdit->isEnabled());
    composer.ui().FormulaEdit->setText("-6*n");
    composer.ui().LevelBox->setCurrentIndex(Decibels);
    std::vector<QString> proposed;
    whenLevelAsked([&](Ui::THarmonicLevelForm& level) {
        proposed.push_back(level.LevelEdit->text() + level.LevelBox->currentText());
        whenLevelAsked([&](Ui::THarmonicLevelForm& second) {
            proposed.push_back(second.LevelEdit->text() + second.LevelBox->currentText());
            second.OkBtn->click();
        });
        level.OkBtn->click();
    });
    composer.group("2", "2", false);
    EXPECT_EQ(proposed, (std::vector<QString>{"-12dB", "-18dB"}));
    EXPECT_EQ(composer.form.block().count, 2);

    // A formula that cannot be read adds nothing.
    composer.ui().FormulaEdit->setText("n)");
    composer.group("5", "2", false);
    EXPECT_EQ(composer.messages.texts(),
              std::vector<std::string>{"Invalid formula: invalid syntax: )"});
    EXPECT_EQ(composer.form.block().count, 2);
}

TEST(HarmonicScreen, MarkEditRemoveAndTheStoredList) {
    Composer composer;
    whenLevelAsked([](Ui::THarmonicLevelForm& level) {
        level.LevelEdit->setText("10");
        level.LevelBox->setCurrentIndex(Percent);
        level.FinishBtn->click();
    });
    composer.group("2", "7", false);
    ASSERT_EQ(composer.form.block().count, 7);
    composer.ui().HarmonicsBox->selectAll();
    composer.ui().MarkBtn->click();
    EXPECT_EQ(composer.messages.texts(),
              std::vector<std::string>{"Mozete oznacit len 6 harmonickych"});
    EXPECT_EQ(composer.lines()[5], "*Freq:7x Level:10% Phase:0");
    EXPECT_EQ(composer.lines()[6], "Freq:8x Level:10% Phase:0");

    // Harmonics 3 and 5 stay marked; 2 and 4 go; 3 gets a new level.
    for (int row : {0, 2, 4, 5})
        composer.ui().HarmonicsBox->item(row)->setSelected(true);
    composer.ui().UnMarkBtn->click();
    composer.ui().HarmonicsBox->item(0)->setSelected(true);
    composer.ui().HarmonicsBox->item(2)->setSelected(true);
    composer.ui().DeleteItemsBtn->click();
    ASSERT_EQ(composer.lines(),
              (std::vector<std::string>{"*Freq:3x Level:10% Phase:0", "*Freq:5x Level:10% Phase:0",
                                        "Freq:6x Level:10% Phase:0", "Freq:7x Level:10% Phase:0",
                                        "Freq:8x Level:10% Phase:0"}));
    whenLevelAsked([](Ui::THarmonicLevelForm& level) {
        EXPECT_EQ(level.LevelEdit->text(), "10");
        level.LevelEdit->setText("20");
        level.OkBtn->click();
    });
    composer.ui().HarmonicsBox->item(0)->setSelected(true);
    composer.ui().EditBtn->click();
    EXPECT_EQ(composer.lines()[0], "*Freq:3x Level:20% Phase:0");

    composer.ui().Button2->click();
    const WaveformRecord& made = composer.form.result();
    EXPECT_EQ(made.generatorKind, kGeneratorHarmonic);
    EXPECT_EQ(made.paramCount(), 16400);
    const ChannelDataView view = channelDataView({&made, 1000, 1000, 1, 1});
    ASSERT_EQ(view.rows.size(), 3u) << "the fundamental and the marked 3 and 5";
    EXPECT_EQ(view.rows[2].order, "5.");

    // Opened again, the composer shows the list it stored.
    Composer again(made);
    EXPECT_EQ(again.lines().size(), 5u);
    again.ui().ClearListBtn->click();
    EXPECT_TRUE(again.lines().empty());
    EXPECT_EQ(again.form.result().points[4096], 255) << "a pure sine again";
}
