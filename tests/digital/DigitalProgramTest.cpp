// Digital mode in the whole program: the editor opened from the main window, and what reaches
// the instrument and the files.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "../startup/ProgramRig.h"
#include "DigitalBuilders.h"
#include "ModalDriver.h"
#include "digital/DigitalEditScreen.h"
#include "ui_DigitalEditScreen.h"
#include "ui_Main.h"

namespace {

TEST(DigitalProgram, ConfirmedWaveIsUploadedAsLowAndHighBytesAndSaved) {
    ProgramRig rig;
    rig.shipFiles();
    {
        RecordingMessages quiet;
        ASSERT_TRUE(saveMainWave(waveOf({singleSignal("S", 0), clockSignal("C", 8, 0)}),
                                 rig.start.path(), quiet));
    }
    rig.run([&](Program&) {
        Ui::TMainForm& controls = ProgramRig::mainForm()->controls();
        controls.Digitalmode1->trigger();
        rig.driver.forget();
        whenModalShown([](QWidget* modal) {
            auto* editor = qobject_cast<TDigitalEditForm*>(modal);
            ASSERT_NE(editor, nullptr);
            for (int i = 0; i < 3; ++i)
                editor->controls().DigitalOneStepBtn->click();
            // The "E" of S at the cursor, which stands on the last step.
            QTest::mouseClick(editor->controls().DigitalImage, Qt::LeftButton, {}, QPoint(772, 30));
            editor->controls().OkBtn->click();
        });
        controls.Button1->click();
        controls.DigitalVoltageBox->setCurrentIndex(1);
    });
    ASSERT_EQ(rig.driver.uploads.size(), 2u);
    EXPECT_EQ(rig.driver.uploads[0].channel, 0);
    EXPECT_EQ(rig.driver.uploads[0].data, (std::vector<std::uint8_t>{0, 0, 1})) << "D0 to D7";
    EXPECT_EQ(rig.driver.uploads[1].channel, 1);
    EXPECT_EQ(rig.driver.uploads[1].data, (std::vector<std::uint8_t>{0, 1, 0}))
        << "the clock on D8";
    EXPECT_EQ(rig.driver.callsNamed("SetDigitalVoltage"),
              std::vector<std::string>{"SetDigitalVoltage(1)"});

    TDigitalWave saved;
    RecordingMessages quiet;
    ASSERT_TRUE(loadMainWave(saved, rig.start.path(), quiet));
    EXPECT_EQ(std::vector<std::uint16_t>(saved.words().begin(), saved.words().end()),
              (std::vector<std::uint16_t>{0x0000, 0x0100, 0x0001}));
    EXPECT_EQ(saved.signals[1].counter, 3);
}

}  // namespace
