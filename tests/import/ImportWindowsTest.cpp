// The import commands through their dialogs, on the virtual instrument: what the operator
// marks is what the instrument plays, at the recorded rate.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "ImportRig.h"
#include "ScopeFileBuilders.h"
#include "TestFolder.h"
#include "import/ImportFromAsciiScreen.h"
#include "import/ImportFromScopeScreen.h"
#include "import/ImportSingleFromScopeScreen.h"
#include "import/ImportTargetScreen.h"
#include "ui_ImportFromAsciiScreen.h"
#include "ui_ImportFromScopeScreen.h"
#include "ui_ImportSingleFromScopeScreen.h"
#include "ui_ImportTargetScreen.h"

namespace {

// 1 MHz (device type 211, time base 11); A 800 mV with 0 V at 128, B 4000 mV with 0 V at 100.
const std::string Settings =
    "DeviceType: 211\r\nTimeBaseValue: 11\r\nDensityChannelA: 3\r\nDensityChannelB: 5\r\n"
    "GroundChannelB: 100\r\n";

std::vector<int> sine(int count, int period) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(
            static_cast<int>(std::lround(128 + 100 * std::sin(2 * M_PI * i / period))));
    return values;
}

std::vector<std::uint8_t> bytes(const std::vector<int>& values, int from, int count) {
    return {values.begin() + from, values.begin() + from + count};
}

bool waitUntil(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 10000);
}

}  // namespace

TEST(ImportWindows, TwoChannelsArePlayedRawAtTheRecordedRateAsMarked) {
    TestFolder folder;
    ImportRig rig;
    const std::vector<int> a = sine(1000, 100);
    const std::vector<int> b = ramp(1000, 7);
    rig.file = folder.write("scope.txt", r210Text(Settings, a, b));

    ImportRig::onModal<TImportFromScopeForm>([](TImportFromScopeForm& form) {
        ASSERT_TRUE(waitUntil([&] { return form.periodSearchDone(); }));
        // The period of A is marked on both displays, which track their cursors.
        EXPECT_EQ(form.cursors(0).second, 101);
        EXPECT_EQ(form.cursors(1).second, 101);
        EXPECT_TRUE(form.controls().GlueCursorA->isChecked());
        EXPECT_TRUE(form.controls().GlueCursorB->isChecked());
        EXPECT_EQ(form.controls().DeltaXBLabel->text(), "101 pix");
        // A tracked pair keeps its distance; the other display follows its length.
        form.moveRangeCursor(0, 2, 130);
        EXPECT_EQ(form.cursors(0).first, 29);
        form.moveRangeCursor(0, 1, 0);
        form.controls().GlueCursorA->click();
        form.moveRangeCursor(0, 2, 250);
        EXPECT_EQ(form.cursors(0).second, 250);
        EXPECT_EQ(form.cursors(1).first, 0);
        EXPECT_EQ(form.cursors(1).second, 250);
        EXPECT_EQ(form.controls().DeltaXBLabel->text(), "250 pix");
        form.controls().Button1->click();
    });
    ASSERT_TRUE(rig.commands->importFromScope(rig.form.get()));

    EXPECT_EQ(rig.store.importedA.points, bytes(a, 0, 249));
    EXPECT_EQ(rig.store.importedB.points, bytes(b, 0, 249));
    for (int channel = 0; channel < 2; ++channel) {
        const q745vi::ChannelState played = ImportRig::played(channel);
        EXPECT_EQ(played.played,
                  channel == 0 ? rig.store.importedA.points : rig.store.importedB.points);
    }
    EXPECT_NEAR(ImportRig::sampleClock(), 1e6, 5);
    // B's recorded 0 V (sample 100 of 4 V) sits 437.5 mV below the generator's.
    EXPECT_EQ(rig.generator->shift(1), 2048 + 224);
    EXPECT_TRUE(rig.ui().ILockLevelBtn->isChecked());
    EXPECT_FALSE(rig.ui().LevelBarA->isEnabled());
    EXPECT_EQ(rig.displays[1]->shown().pointCount(), 249);
    EXPECT_TRUE(rig.ui().ReplayRateLabel->text().startsWith("Recorded 1.00000MHz, plays"));
    EXPECT_TRUE(rig.ui().ReplayRateLabel->text().endsWith(" ppm"));
    EXPECT_EQ(rig.ui().ReplayNoteLabel->text(), "Whole stretch, nothing clipped");
    EXPECT_TRUE(rig.messages.calls.empty());
}

// A found period is cut whole, wherever the tracked pair is slid, so that it replays at the
// recorded frequency.
TEST(ImportWindows, FoundPeriodIsCutWhole) {
    TestFolder folder;
    ImportRig rig;
    const std::vector<int> a = sine(1000, 100);
    rig.file = folder.write("scope.txt", r210Text(Settings, a, ramp(1000, 3)));

    ImportRig::onModal<TImportFromScopeForm>([](TImportFromScopeForm& form) {
        ASSERT_TRUE(waitUntil([&] { return form.periodSearchDone(); }));
        form.moveRangeCursor(0, 2, 1001);
        EXPECT_EQ(form.cursors(0).first, 900);
        form.controls().Button1->click();
    });
    ASSERT_TRUE(rig.commands->importFromScope(nullptr));
    EXPECT_EQ(rig.store.importedA.points, bytes(a, 900, 100));
    EXPECT_EQ(rig.store.importedB.pointCount(), 100);
}

TEST(ImportWindows, EmptyStretchIsRefusedAndAnUnplayableRateReported) {
    TestFolder folder;
    ImportRig rig;
    // 5 GHz: far beyond the tick frequency.
    const std::string fast = "DeviceType: 211\r\nTimeBaseValue: 0\r\n";
    rig.file = folder.write("fast.txt", r210Text(fast, ramp(300), ramp(300, 9)));

    ImportRig::onModal<TImportFromScopeForm>([&rig](TImportFromScopeForm& form) {
        ASSERT_TRUE(waitUntil([&] { return form.periodSearchDone(); }));
        if (form.controls().GlueCursorA->isChecked()) form.controls().GlueCursorA->click();
        form.moveRangeCursor(0, 1, 40);
        form.moveRangeCursor(0, 2, 40);
        form.controls().Button1->click();
        EXPECT_EQ(rig.messages.texts(),
                  std::vector<std::string>{"Velkost periody musi byt nenulova"});
        EXPECT_TRUE(form.isVisible());
        form.moveRangeCursor(0, 2, 60);
        form.controls().Button1->click();
    });
    ASSERT_TRUE(rig.commands->importFromScope(nullptr));
    EXPECT_EQ(rig.messages.texts().back(),
              "Nie je mozne nastavit rovnaku frekvenciu ako bola namerana osciloskopom");
    EXPECT_EQ(rig.store.importedA.points, rampBytes(19, 40)) << "the waveforms stay imported";
    EXPECT_EQ(rig.dialogTitles, std::vector<std::string>{"Select oscilloscope file"});
}

TEST(ImportWindows, OneChannelGoesWhereItsLengthAllows) {
    TestFolder folder;
    ImportRig rig;
    const std::vector<std::uint8_t> beforeA = rig.store.importedA.points;

    // 500 samples cannot replace a 16384-point waveform on one channel only.
    rig.file = folder.write("short.txt", r210Text(Settings, ramp(500), {}));
    ImportRig::onModal<TImportTargetForm>([](TImportTargetForm& form) {
        EXPECT_TRUE(form.controls().RadioButton1->isEnabled());
        EXPECT_TRUE(form.controls().RadioButton1->isChecked());
        EXPECT_FALSE(form.controls().RadioButton2->isEnabled());
        EXPECT_FALSE(form.controls().RadioButton3->isEnabled());
        form.controls().Button1->click();
    });
    EXPECT_FALSE(rig.commands->importFromScope(nullptr));
    EXPECT_EQ(rig.store.importedA.points, beforeA);

    // A longer channel B goes to channel B as long as the waveform already imported.
    const std::vector<int> b = sine(20000, 400);
    rig.file = folder.write("long.txt", r210Text(Settings, {}, b));
    ImportRig::onModal<TImportTargetForm>([](TImportTargetForm& target) {
        target.controls().RadioButton3->click();
        ImportRig::onModal<TImportSingleFromScopeForm>([](TImportSingleFromScopeForm& form) {
            EXPECT_EQ(form.controls().DeltaXALabel->text(), "16385 pix");
            form.moveRangeCursor(1, 1000);
            EXPECT_EQ(form.cursors().second, 17385) << "the cursors move together";
            form.controls().Button1->click();
        });
        target.controls().Button2->click();
    });
    ASSERT_TRUE(rig.commands->importFromScope(nullptr));
    EXPECT_EQ(rig.store.importedB.points, bytes(b, 1000, 16384));
    EXPECT_EQ(rig.store.importedA.points, beforeA);
    EXPECT_EQ(ImportRig::played(1).played, rig.store.importedB.points);
    EXPECT_EQ(ImportRig::played(0).playedLength, 16384U);
}

TEST(ImportWindows, AsciiOptionsGuessedReloadedAndBadNumbersReported) {
    TestFolder folder;
    ImportRig rig;
    rig.file = folder.write("values.csv", "time,value\n0,1.5\n1,2.5\n");

    ImportRig::onModal<TImportFromAsciiForm>([](TImportFromAsciiForm& form) {
        auto& ui = form.controls();
        EXPECT_TRUE(ui.RealNumbersBox->isChecked());
        EXPECT_EQ(ui.SeparatorEdit->text(), ".");
        EXPECT_EQ(form.workRecord().pointCount(), 4);
        ui.ReadEvenBox->click();
        ui.Button1->click();
        EXPECT_EQ(form.workRecord().points, (std::vector<std::uint8_t>{1, 255}));
        EXPECT_EQ(form.preview().shown().pointCount(), 2);
        // Without normalising the values cannot give the level.
        ui.VoltSetBox->click();
        ui.NormalizeBox->click();
        EXPECT_TRUE(ui.DontSetBox->isChecked());
        EXPECT_FALSE(ui.MVoltSetBox->isEnabled());
        ui.CancelBtn->click();
    });
    EXPECT_FALSE(rig.commands->importFromAscii(nullptr));
    EXPECT_EQ(rig.store.importedA.pointCount(), 16384);
    EXPECT_EQ(rig.dialogTitles, std::vector<std::string>{"Select ASCII file"});

    rig.file = folder.write("flat.txt", "5\n5\n5\n");
    ImportRig::onModal<TImportFromAsciiForm>([](TImportFromAsciiForm& form) {
        EXPECT_EQ(form.workRecord().points, (std::vector<std::uint8_t>{128, 128, 128}));
        form.controls().CancelBtn->click();
    });
    rig.commands->importFromAscii(nullptr);
    rig.file = folder.write("bad.txt", "1\n1-2\n");
    ImportRig::onModal<TImportFromAsciiForm>([](TImportFromAsciiForm& form) {
        EXPECT_FALSE(form.controls().OkBtn->isEnabled());
        form.controls().CancelBtn->click();
    });
    rig.commands->importFromAscii(nullptr);
    EXPECT_EQ(rig.messages.texts(), (std::vector<std::string>{"Zle cislo v ASCII subore: 1-2",
                                                              "Nie je mozne otvorit subor."}));
}

TEST(ImportWindows, AsciiMillivoltsSetBothChannelsWhenCopiedToTheOther) {
    TestFolder folder;
    ImportRig rig;
    rig.file = folder.write("mv.txt", "-200\n0\n200\n40\n");
    ImportRig::onModal<TImportFromAsciiForm>([](TImportFromAsciiForm& form) {
        form.controls().ChannelBBox->click();
        form.controls().MVoltSetBox->click();
        form.controls().OkBtn->click();
    });
    ASSERT_TRUE(rig.commands->importFromAscii(nullptr));

    EXPECT_EQ(rig.messages.texts(),
              std::vector<std::string>{"Druhy priebeh (na druhom kanale) ma inu velkost.\r\n"
                                       "Priradujem tento priebeh obom kanalom."});
    const std::vector<std::uint8_t> expected{1, 128, 255, 153};
    EXPECT_EQ(rig.store.importedB.points, expected);
    EXPECT_EQ(rig.store.importedA.points, expected);
    for (int channel = 0; channel < 2; ++channel) {
        // 400 mV from the lowest to the highest value, on the -20 dB path.
        EXPECT_NEAR(rig.generator->LevelVolts(channel, rig.generator->level(channel)), 400, 4);
        EXPECT_EQ(rig.generator->outputState(channel), 2);
        EXPECT_EQ(ImportRig::played(channel).played, expected);
    }
    EXPECT_EQ(rig.generator->shift(0), rig.generator->shift(1));
    EXPECT_EQ(rig.ui().ShiftBarA->value(), 4096 - rig.generator->shift(0));
    EXPECT_TRUE(rig.ui().ReplayRateLabel->text().startsWith("No recorded rate, plays"));
}
