// The gallery and the formula editor opened from the main window on the driver library and the
// virtual instrument: a waveform made in the editor is what the channel's memory plays.
#include <gtest/gtest.h>

#include <QTest>

#include "../panels/MainWindowOnInstrument.h"
#include "ModalDriver.h"
#include "generators/AModulationScreen.h"
#include "generators/MathScreen.h"
#include "panels/WaveScreen.h"
#include "shell/MainWindowModules.h"
#include "shell/MessageBox.h"
#include "ui_AModulationScreen.h"
#include "ui_GalleryScreen.h"
#include "ui_MathScreen.h"
#include "waves/WaveformWindows.h"

namespace {

std::vector<std::uint8_t> played(int channel) {
    return q745vi::VirtualBench::process()
        .parallelInstrument(0)
        ->state(true)
        .channels[static_cast<std::size_t>(channel)]
        .played;
}

class GalleryModules final : public MainWindowModules {
public:
    explicit GalleryModules(WaveformWindows& windows) : windows_(windows) {}
    std::optional<GalleryChoice> selectWave(const GalleryRequest& request,
                                            QWidget* owner) override {
        return windows_.selectWave(request, owner);
    }

private:
    WaveformWindows& windows_;
};

// The main window with both channel displays on the instrument, at 1 kHz (octave 0, so that
// the channels play every point of their waveforms).
struct ChannelDisplaysOnInstrument : MainWindowOnInstrument {
    ChannelDisplaysOnInstrument() {
        generator->Activate();
        generator->ChangeMultiplier(1);
        generator->ChangeFrequency(1000);
        for (int channel = 0; channel < 2; ++channel) {
            TWaveScreen& display = displays[static_cast<std::size_t>(channel)];
            display.bind(channel == 0 ? *ui().WaveformA : *ui().WaveformB);
            display.setGenerator(generator.get(), channel, true);
            display.setRecord(store.slots[0]);
        }
        form->setAnalogDisplays(&displays[0], &displays[1]);
        windows = std::make_unique<WaveformWindows>(device.state, store, *generator,
                                                    programWaveformEditors(), form.get());
        modules = std::make_unique<GalleryModules>(*windows);
        form->setModules(modules.get());
    }

    // "Select wave A"; in the gallery `choose` runs, then `formula` is made with "Math edit",
    // and the gallery closes with `close` ("Ok" or "Cancel").
    void makeFormula(const std::function<void(Ui::TGalleryForm&)>& choose, const QString& formula,
                     bool ok) {
        whenModalShown([&](QWidget* window) {
            Ui::TGalleryForm& gallery = static_cast<TGalleryForm*>(window)->controls();
            choose(gallery);
            whenModalShown([&](QWidget* editor) {
                Ui::TMathForm& math = static_cast<TMathForm*>(editor)->controls();
                math.FormulaEdit->setText(formula);
                math.OkBtn->click();
            });
            gallery.MathEditBtn->click();
            (ok ? gallery.OkBtn : gallery.CancelBtn)->click();
        });
        ui().SelWaveABtn->click();
    }

    std::array<TWaveScreen, 2> displays;
    std::unique_ptr<WaveformWindows> windows;
    std::unique_ptr<GalleryModules> modules;
};

}  // namespace

TEST(GalleryOnInstrument, WaveformsMadeInTheEditorReachTheChannels) {
    ChannelDisplaysOnInstrument main;
    ASSERT_FALSE(main.device.binding->demoMode());
    WaveformStore& store = main.store;
    ASSERT_EQ(played(0), store.slots[0].points);

    main.makeFormula([](Ui::TGalleryForm& gallery) { gallery.Button6->click(); }, "x", true);
    EXPECT_EQ(main.device.state.waveIndexA, 5);
    EXPECT_EQ(store.slots[5].generatorKind, kGeneratorFormula);
    EXPECT_EQ(played(0), store.slots[5].points);

    // Channel A's own waveform changed, then "Cancel": the channel plays the new one.
    main.makeFormula([](Ui::TGalleryForm&) {}, "-x", false);
    EXPECT_EQ(main.device.state.waveIndexA, 5);
    EXPECT_EQ(played(0), store.slots[5].points);
    EXPECT_EQ(store.slots[5].points.front(), 255);

    // Channel B's waveform edited from channel A's gallery after the question.
    RecordingMessages operatorScript;
    operatorScript.answers = {MessageResult::Yes};
    ScopedMessageResponder responder(operatorScript);
    const std::vector<std::uint8_t> sine = store.slots[0].points;
    main.makeFormula(
        [](Ui::TGalleryForm& gallery) {
            QTest::mouseClick(gallery.Image1, Qt::LeftButton, {}, QPoint(20, 20));
        },
        "sin(2*x)", false);
    EXPECT_EQ(operatorScript.calls.size(), 1u);
    EXPECT_NE(store.slots[0].points, sine);
    EXPECT_EQ(played(1), store.slots[0].points);
    EXPECT_EQ(main.device.state.waveIndexA, 5);
}

TEST(GalleryOnInstrument, ModulatedWaveformReachesChannelA) {
    ChannelDisplaysOnInstrument main;
    WaveformStore& store = main.store;
    whenModalShown([&](QWidget* window) {
        Ui::TGalleryForm& gallery = static_cast<TGalleryForm*>(window)->controls();
        gallery.Button7->click();
        whenModalShown([&](QWidget* editor) {
            Ui::TAModulationForm& modulation = static_cast<TAModulationForm*>(editor)->controls();
            modulation.FreqEdit->setText("8");
            modulation.AmplEdit->setText("40");
            modulation.OkBtn->click();
        });
        gallery.AModulBtn->click();
        gallery.OkBtn->click();
    });
    main.ui().SelWaveABtn->click();

    WaveformRecord expected;
    finishModulation(untitledWaveform(), ModulationParams{8, 40}, expected);
    EXPECT_EQ(main.device.state.waveIndexA, 6);
    EXPECT_EQ(store.slots[6].points, expected.points);
    EXPECT_EQ(store.slots[6].params, expected.params);
    EXPECT_EQ(played(0), expected.points);
}
