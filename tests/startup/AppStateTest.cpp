#include <gtest/gtest.h>

#include "core/AppState.h"

TEST(AppStateTest, StartsWithTheInitialValues) {
    AppState state;
    EXPECT_EQ(state.currentMode, 0);
    EXPECT_EQ(state.startMode, ModeAnalog);
    EXPECT_EQ(state.portAddress, 0x378);
    EXPECT_EQ(state.baseAddressIndex, 0);
    EXPECT_FALSE(state.useUsb);
    EXPECT_EQ(state.importLevelA, 2048);
    EXPECT_EQ(state.importLevelB, 2048);
    EXPECT_EQ(state.importOutputA, 1);
    EXPECT_EQ(state.importOutputB, 1);
    EXPECT_FALSE(state.settingsLoaded);
    EXPECT_FALSE(state.appReady);
}

TEST(AppStateTest, PushModeKeepsOneLevelOnly) {
    AppState state;
    state.currentMode = ModeAnalog;
    state.pushMode(ModeDigital);
    EXPECT_EQ(state.currentMode, ModeDigital);
    EXPECT_EQ(state.modeSource().currentMode(), ModeDigital);
    state.popMode();
    EXPECT_EQ(state.currentMode, ModeAnalog);

    // A second push before the pop loses the first saved mode.
    state.pushMode(ModeDigital);
    state.pushMode(ModeImport);
    state.popMode();
    EXPECT_EQ(state.currentMode, ModeDigital);
}

TEST(AppStateTest, SelectPortNameFollowsTheAddressAndUsb) {
    AppState state;
    const std::pair<int, const char*> ports[] = {
        {0x378, "LPT1:"}, {0x278, "LPT2:"}, {0x3F8, "LPT3:"}, {0x2F8, "LPT4:"}};
    for (const auto& [address, name] : ports) {
        state.portAddress = address;
        state.selectPortName(false);
        EXPECT_EQ(state.portName, name);
    }
    state.portAddress = 0x300;
    state.selectPortName(false);
    EXPECT_EQ(state.portName, "LPT4:") << "an unknown address keeps the name";

    state.useUsb = true;
    state.portAddress = 0x378;
    state.selectPortName(false);
    EXPECT_EQ(state.portName, "LPT1:") << "USB only counts when allowed";
    state.selectPortName(true);
    EXPECT_EQ(state.portName, "KELVOUSB");
}
