// The gallery and the data view worked through their controls, with the operator answering
// from a script.
#include "waves/GalleryScreen.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QTest>

#include "../panels/PanelRig.h"
#include "RecordingMessages.h"
#include "TempFolder.h"
#include "core/UnitFormat.h"
#include "generators/HarmonicParameterBlock.h"
#include "panels/WaveScreen.h"
#include "shell/MessageBox.h"
#include "ui_DataViewModule.h"
#include "ui_GalleryScreen.h"
#include "waves/GalleryRules.h"
#include "waves/GawFile.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"
#include "waves/WaveformWindows.h"

namespace {

const QColor Green(0x00, 0x80, 0x00);
const QColor Red(0xFF, 0x00, 0x00);

struct Gallery {
    explicit Gallery(GalleryInputs in = {}, WaveformEditors editors = {}) {
        resetPredefined(store, 1);
        in.frequency = in.frequency == 0 ? 1000 : in.frequency;
        form = std::make_unique<TGalleryForm>(store, in, editors);
        form->setFileNameAsker(
            [this](QWidget*, const QString& title, const QString&, const QString& proposed, bool) {
                asked.push_back(title + " " + proposed);
                return chosenFile;
            });
        form->show();
    }
    Ui::TGalleryForm& ui() { return form->controls(); }
    QColor frame(int t) {
        QFrame* frames[] = {ui().Shape1, ui().Shape2, ui().Shape3, ui().Shape4,
                            ui().Shape5, ui().Shape6, ui().Shape7, ui().Shape8};
        return frames[t - 1]->palette().color(QPalette::WindowText);
    }
    void click(int t) { QTest::mouseClick(form->thumbnail(t), Qt::LeftButton, {}, QPoint(20, 20)); }
    // A drag of the gallery ("panel" or a slot number) entering a widget and dropped there.
    void drop(const QString& from, QWidget* target) {
        QMimeData data;
        data.setData(TGalleryForm::dragFormat(), from.toLatin1());
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }

    RecordingMessages messages;
    ScopedMessageResponder responder{messages};
    WaveformStore store;
    std::unique_ptr<TGalleryForm> form;
    QString chosenFile;
    QStringList asked;
};

class DataViewModules final : public MainWindowModules {
public:
    explicit DataViewModules(WaveformWindows& windows) : windows_(windows) {}
    void refreshDataView() override { windows_.refreshDataView(); }

private:
    WaveformWindows& windows_;
};

}  // namespace

TEST(GalleryScreen, ScrolledThumbnailCreatesItsOwnSlot) {
    Gallery gallery;
    EXPECT_EQ(gallery.frame(1), Green) << "the channel's slot 1";
    EXPECT_EQ(gallery.frame(2), Red);
    EXPECT_EQ(gallery.ui().Edit4->text(), "Square");
    EXPECT_EQ(gallery.ui().Button6->text(), "Create");

    gallery.ui().DeltaBar->setValue(2);
    EXPECT_EQ(gallery.ui().Edit1->text(), "Empty");
    QTest::mouseDClick(gallery.form->thumbnail(1), Qt::LeftButton, {}, QPoint(20, 20));
    const WaveformRecord& created = gallery.store.slots[8];
    EXPECT_EQ(created.name(), "Untitled");
    EXPECT_EQ(created.points, std::vector<std::uint8_t>(16384, 128));
    EXPECT_EQ(gallery.form->selectedSlot(), 9);
    EXPECT_EQ(gallery.frame(1), Green);
    EXPECT_EQ(gallery.ui().Edit1->text(), "Untitled");
    EXPECT_EQ(gallery.ui().Button1->text(), "Options");
    EXPECT_FALSE(gallery.ui().Button1->isEnabled()) << "no options for a plain waveform";

    gallery.ui().Edit1->setFocus();
    QTest::keyClicks(gallery.ui().Edit1, "X");
    EXPECT_EQ(created.name(), "UntitledX");
    gallery.ui().DeltaBar->setValue(0);
    gallery.click(2);
    EXPECT_EQ(gallery.form->selectedSlot(), 2);
    EXPECT_EQ(gallery.form->largeDisplay().source(), &gallery.store.slots[1]);
    gallery.click(6);
    EXPECT_EQ(gallery.form->selectedSlot(), 2) << "an empty slot is not selected";
}

TEST(GalleryScreen, PredefinedSlotIsNotDeletedAndOthersAfterTheQuestion) {
    GalleryInputs inputs;
    inputs.selectedSlot = 5;
    Gallery gallery(inputs);
    gallery.ui().DelSelWave->click();
    EXPECT_EQ(gallery.messages.texts(),
              std::vector<std::string>{"Nie je mozne zmazat preddefinovany priebeh"});
    EXPECT_EQ(gallery.store.slots[4].name(), "Noise");
    EXPECT_FALSE(gallery.store.slots[4].isEmpty());

    gallery.ui().Button6->click();
    gallery.messages.answers = {MessageResult::Yes};
    gallery.ui().DelSelWave->click();
    EXPECT_EQ(gallery.messages.calls.back().text, "Ste si isty, ze chcete zmazat Untitled");
    EXPECT_EQ(gallery.messages.calls.back().buttons, MessageButtons::YesNo);
    EXPECT_TRUE(gallery.store.slots[5].isEmpty());
    EXPECT_EQ(gallery.ui().Edit6->text(), "Empty");
    EXPECT_EQ(gallery.form->selectedSlot(), 1);
    EXPECT_TRUE(gallery.form->changedSlots().contains(6));
}

TEST(GalleryScreen, DragAndDropCopiesExportsAndImports) {
    TempFolder folder;
    Gallery gallery;
    gallery.drop("1", gallery.form->thumbnail(6));
    EXPECT_EQ(gallery.store.slots[5].name(), "Copy of Sine");
    EXPECT_EQ(gallery.store.slots[5].points, gallery.store.slots[0].points);
    EXPECT_EQ(gallery.form->selectedSlot(), 6);

    gallery.chosenFile = QString::fromStdString((folder / "sine").string());
    gallery.drop("1", gallery.ui().Panel1);
    EXPECT_EQ(gallery.asked, QStringList{"Export wave Sine.gaw"});
    RecordingMessages quiet;
    WaveformRecord exported;
    ASSERT_TRUE(importRecord(exported, folder / "sine.gaw", true, quiet)) << "\".gaw\" appended";
    EXPECT_EQ(exported, gallery.store.slots[0]);

    WaveformRecord shortRecord;
    shortRecord.points.assign(1000, 90);
    computeStatistics(shortRecord);
    ASSERT_TRUE(exportRecord(shortRecord, folder / "short.gaw", quiet));
    gallery.chosenFile = QString::fromStdString((folder / "short.gaw").string());
    gallery.drop("panel", gallery.form->thumbnail(7));
    EXPECT_EQ(gallery.messages.texts(),
              std::vector<std::string>{"Velkost priebehu ulozeneho v subore sa lisi od 16384 "
                                       "bodov.\r\nNie je mozne nacitat taky priebeh v tomto "
                                       "rezime."});
    EXPECT_TRUE(gallery.store.slots[6].isEmpty());

    gallery.chosenFile = QString::fromStdString((folder / "sine.gaw").string());
    gallery.drop("panel", gallery.form->thumbnail(7));
    EXPECT_EQ(gallery.store.slots[6], gallery.store.slots[0]);
    EXPECT_EQ(gallery.form->selectedSlot(), 7);
    EXPECT_EQ(gallery.form->changedSlots(), (std::set<int>{6, 7}));

    gallery.drop("panel", gallery.ui().Panel1);
    EXPECT_EQ(gallery.asked.size(), 3) << "the panel takes only thumbnails";
}

TEST(GalleryScreen, EditingTheOtherChannelsWaveformAsksFirst) {
    int opened = 0;
    WaveformEditors editors;
    editors.formula = [&opened](const WaveformRecord& source, const EditorContext& context) {
        ++opened;
        EXPECT_EQ(context.frequency, 250);
        WaveformRecord made = source;
        made.points.assign(16384, 200);
        return std::optional<WaveformRecord>(made);
    };
    GalleryInputs inputs;
    inputs.selectedSlot = 3;
    inputs.otherChannelSlot = 3;
    inputs.frequency = 250;
    Gallery gallery(inputs, editors);
    EXPECT_FALSE(gallery.ui().HandEditBtn->isEnabled()) << "no hand editor plugged in";
    const WaveformRecord triangle = gallery.store.slots[2];

    gallery.messages.answers = {MessageResult::No};
    gallery.ui().MathEditBtn->click();
    ASSERT_EQ(gallery.messages.calls.size(), 1u);
    EXPECT_EQ(gallery.messages.calls[0].text, kOtherChannelQuestion);
    EXPECT_EQ(gallery.messages.calls[0].kind, MessageKind::Warning);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(gallery.store.slots[2], triangle);
    EXPECT_FALSE(gallery.form->otherChannelChanged());

    gallery.messages.answers = {MessageResult::Yes};
    gallery.ui().MathEditBtn->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(gallery.store.slots[2].maxSample, 200) << "stored with its statistics";
    EXPECT_EQ(gallery.store.slots[2].name(), "Triangle");
    EXPECT_TRUE(gallery.form->otherChannelChanged());
}

TEST(GalleryScreen, RealViewShowsWhatTheChannelPlays) {
    GalleryInputs inputs;
    inputs.sampleStep = 4;
    inputs.zeroMark = 100;
    inputs.sampleMillivolts = [](double sample) { return (sample - 100) * 10; };
    Gallery gallery(inputs);
    TWaveScreen& large = gallery.form->largeDisplay();
    EXPECT_EQ(gallery.ui().FrequencyLabel->text(), "Freq.: 1.00000kHz");
    EXPECT_EQ(large.step(), 4);
    EXPECT_EQ(large.zeroMark(), 100);
    const int red = large.cursorPoint(TWaveScreen::Cursor::H1);
    EXPECT_EQ(gallery.ui().DeltaYAbsLabel->text(),
              QString::fromStdString(formatVoltage((red - 100) / 100.0) + "V"));
    gallery.ui().RealViewBtn->click();
    EXPECT_EQ(large.step(), 1);
    EXPECT_EQ(large.zeroMark(), 128);
    EXPECT_EQ(gallery.ui().DeltaYAbsLabel->text(), "N/A");

    gallery.ui().RstDefaultsBtn->click();
    EXPECT_TRUE(gallery.form->otherChannelChanged());
}

TEST(GalleryScreen, SmallScreenGivesAResizableDialogOf640By480) {
    GalleryInputs inputs;
    inputs.smallScreen = true;
    Gallery gallery(inputs);
    EXPECT_EQ(gallery.form->size(), QSize(640, 480));
    EXPECT_NE(gallery.form->minimumSize(), gallery.form->maximumSize());
    EXPECT_EQ(Gallery().form->minimumSize(), Gallery().form->maximumSize());
}

TEST(DataViewModule, MarkedHarmonicsOfChannelAAndNoDataForB) {
    PanelRig rig;
    resetPredefined(rig.store, 1);
    rig.generator->ChangeMultiplier(1);
    rig.generator->ChangeFrequency(3.5 * rig.generator->oscillatorPer16384());
    ASSERT_EQ(rig.generator->sampleStep(), 4);
    HarmonicParameterBlock block;
    for (const int number : {3, 4, 5, 4096}) {
        HarmonicRecord& harmonic = block.harmonics[static_cast<std::size_t>(block.count++)];
        harmonic.number = number;
        setHarmonicLevel(harmonic, 50, true, 0);
        harmonic.marked = number != 4;
    }
    WaveformRecord& composed = rig.store.slots[5];
    composed = untitledWaveform();
    recomputeHarmonics(block, composed);
    finishHarmonicWaveform(block, composed);
    rig.state.waveIndexA = 5;
    rig.state.waveIndexB = 0;

    WaveformWindows windows(rig.state, rig.store, *rig.generator, {}, rig.form.get());
    rig.state.dataViewOpen = true;
    windows.openDataView(QPoint(10, 10));
    ASSERT_NE(windows.dataView(), nullptr);
    TDataViewModuleForm& view = *windows.dataView();
    Ui::TDataViewModuleForm& ui = view.controls();
    EXPECT_TRUE(ui.HarmA->isVisibleTo(&view));
    EXPECT_FALSE(ui.NAA->isVisibleTo(&view));
    EXPECT_EQ(ui.N1->text(), "1.");
    EXPECT_EQ(ui.N2->text(), "3.");
    EXPECT_EQ(ui.N3->text(), "5.");
    EXPECT_EQ(ui.N4->text(), "4096.");
    EXPECT_EQ(ui.N4->palette().color(QPalette::WindowText), Red) << "beyond step 4";
    EXPECT_NE(ui.N3->palette().color(QPalette::WindowText), Red);
    EXPECT_FALSE(ui.N5->isVisibleTo(&view));
    EXPECT_EQ(ui.N5->text(), "N/A");
    EXPECT_TRUE(ui.NAB->isVisibleTo(&view));
    EXPECT_FALSE(ui.HarmB->isVisibleTo(&view));

    // The main window refreshes it when a level or a waveform changes.
    DataViewModules modules(windows);
    rig.form->attachGenerator(*rig.generator);
    rig.form->setModules(&modules);
    rig.state.appReady = true;
    const QString fundamental = ui.V1->text();
    rig.generator->ChangeLevel(0, rig.generator->level(0) + 1000);
    EXPECT_NE(ui.V1->text(), fundamental);
    rig.state.waveIndexA = 4;
    rig.generator->ChangeWave(0, rig.store.slots[4]);
    EXPECT_TRUE(ui.NAA->isVisibleTo(&view));

    windows.setDataViewVisible(false);
    EXPECT_FALSE(view.isVisible());
    windows.setDataViewVisible(true);
    view.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(windows.dataView(), nullptr);
    EXPECT_FALSE(rig.state.dataViewOpen);
}
