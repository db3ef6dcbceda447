// The formula editor and its options dialog, worked through their controls.
#include "generators/MathScreen.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <algorithm>

#include "RecordingMessages.h"
#include "generators/MathOptions.h"
#include "shell/MessageBox.h"
#include "ui_MathOptions.h"
#include "ui_MathScreen.h"
#include "waves/PredefinedWaveforms.h"

namespace {

struct Editor {
    explicit Editor(const WaveformRecord& source = untitledWaveform()) : form(source) {}
    Ui::TMathForm& ui() { return form.controls(); }

    RecordingMessages messages;
    ScopedMessageResponder responder{messages};
    TMathForm form;
};

int lowest(const WaveformRecord& record) {
    return *std::min_element(record.points.begin(), record.points.end());
}

int highest(const WaveformRecord& record) {
    return *std::max_element(record.points.begin(), record.points.end());
}

}  // namespace

TEST(MathScreen, DefaultsMakeAFullSineFrom1To255) {
    Editor editor;
    editor.ui().CountBtn->click();
    EXPECT_EQ(lowest(editor.form.result()), 1);
    EXPECT_EQ(highest(editor.form.result()), 255);
    EXPECT_FALSE(editor.form.produced()) << "Count alone stores nothing";

    editor.ui().OkBtn->click();
    ASSERT_TRUE(editor.form.produced());
    const WaveformRecord& made = editor.form.result();
    EXPECT_EQ(made.generatorKind, kGeneratorFormula);
    EXPECT_EQ(made.optionsKind, kOptionsNone);
    EXPECT_EQ(decodeMathParams(made.params).slots[0].formula, "sin(x)");
    EXPECT_TRUE(editor.messages.calls.empty());

    // Opened again, the editor shows what made the waveform.
    Editor again(made);
    EXPECT_EQ(again.ui().FormulaEdit->text(), "sin(x)");
    EXPECT_EQ(again.ui().REndEdit->text(), "2*pi");
}

TEST(MathScreen, SeventeenthFormulaIsRefused) {
    Editor editor;
    editor.ui().AdvModeButton->click();
    ASSERT_TRUE(editor.ui().Addbtn->isEnabled());
    editor.ui().WEndEdit->setText("1023");
    for (int k = 0; k < 16; ++k)
        editor.ui().Addbtn->click();
    EXPECT_EQ(editor.ui().FormulaList->count(), 16);
    EXPECT_TRUE(editor.messages.calls.empty());
    editor.ui().Addbtn->click();
    EXPECT_EQ(editor.messages.texts(),
              std::vector<std::string>{"Maximalny pocet priebehov bol prekroceny"});
    EXPECT_EQ(editor.ui().FormulaList->count(), 16);

    // Replacing a selected line is still possible.
    editor.ui().FormulaList->setCurrentRow(3);
    editor.ui().FormulaEdit->setText("cos(x)");
    editor.ui().ReplaceBtn->click();
    EXPECT_EQ(editor.form.block().slots[3].formula, "cos(x)");
    EXPECT_EQ(editor.messages.calls.size(), 1u);
}

TEST(MathScreen, WaveStartThatIsNoWholeNumberIsRefused) {
    Editor editor;
    editor.ui().AdvModeButton->click();
    editor.ui().WStartEdit->setText("0.5");
    editor.ui().Addbtn->click();
    EXPECT_EQ(editor.messages.texts(),
              std::vector<std::string>{"Range conversion: Wave range must be integer value"});
    EXPECT_EQ(editor.ui().FormulaList->count(), 0);
}

TEST(MathScreen, TogglingAdvancedModeEmptiesTheList) {
    Editor editor;
    editor.ui().AdvModeButton->click();
    editor.ui().Addbtn->click();
    editor.ui().WStartEdit->setText("50%");
    editor.ui().Addbtn->click();
    ASSERT_EQ(editor.ui().FormulaList->count(), 2);
    editor.ui().AdvModeButton->click();
    EXPECT_EQ(editor.form.block().count, 0);
    EXPECT_FALSE(editor.ui().FormulaList->isEnabled());
    EXPECT_EQ(editor.ui().WStartEdit->text(), "0") << "simple mode spans the whole waveform";
    editor.ui().AdvModeButton->click();
    EXPECT_EQ(editor.ui().FormulaList->count(), 0);
}

TEST(MathScreen, FailedComputationProducesNothing) {
    Editor editor;
    editor.ui().FormulaEdit->setText("x^0.5");
    editor.ui().RStartEdit->setText("-1");
    editor.ui().REndEdit->setText("1");
    editor.ui().OkBtn->click();
    EXPECT_FALSE(editor.form.produced());
    EXPECT_EQ(editor.messages.texts(),
              std::vector<std::string>{"Formula: Formula not defined for whole range"});
}

TEST(MathOptions, NewConstantRecomputesTheWaveform) {
    Editor editor;
    editor.ui().AllowY->setChecked(true);
    editor.ui().YEdit->setText("100");
    editor.ui().YDesc->setText("Amplitude");
    editor.ui().FormulaEdit->setText("y*sin(x)+128");
    editor.ui().NormButton->setChecked(false);
    editor.ui().OkBtn->click();
    ASSERT_TRUE(editor.form.produced());
    WaveformRecord record = editor.form.result();
    EXPECT_EQ(record.optionsKind, kOptionsFormula);
    EXPECT_EQ(highest(record), 228);

    TMathOptionsForm options(record);
    Ui::TMathOptionsForm& ui = options.controls();
    EXPECT_EQ(ui.YName->text(), "Amplitude (Y)");
    EXPECT_EQ(ui.YEdit->text(), "100");
    EXPECT_FALSE(ui.ZEdit->isEnabled());
    EXPECT_EQ(ui.ZName->text(), "N/A");
    ui.YEdit->setText("50");
    ui.PreviewBtn->click();
    EXPECT_EQ(highest(record), 228) << "the preview leaves the waveform";
    ui.OkBtn->click();
    EXPECT_TRUE(options.changed());
    EXPECT_EQ(highest(record), 178);
    EXPECT_EQ(decodeMathParams(record.params).constants.yValue, "50");
    EXPECT_EQ(record.maxSample, 178) << "statistics of the new waveform";
}
