#include <gtest/gtest.h>

#include "DeviceRig.h"

using Rig = DeviceRig<>;

namespace {

const std::string CalibrationMessage =
    "Kalibracne data v pristroji su poskodene. Kontaktujte firmu Kelvo, prosim.";

std::string notFoundQuestion(int index, const std::string& interfaceName) {
    return "Pristroj sa nenachadza na bazovej adrese " + std::to_string(index) + " (" +
           interfaceName +
           ").\r\nChcete, aby program hladal Q745 na ostatnych bazovych adresach alebo aby este "
           "raz skusil pritomnost pristroja na nastavenej adrese ?";
}

std::string foundQuestion(int index, const std::string& interfaceName) {
    return "Pristroj najdeny na bazovej adrese " + std::to_string(index) + " (" + interfaceName +
           ").\r\nChcete nastavit tuto bazovu adresu ?";
}

}  // namespace

TEST(VirtualDriverInit, InstrumentAtTheConfiguredAddressNeedsNoQuestion) {
    Rig rig;
    rig.state.portAddress = 0x278;
    rig.state.baseAddressIndex = 2;
    rig.driver.initByIndex[{0, 2}] = 1000;

    EXPECT_EQ(rig.binding->InitDevice(), 1000);

    EXPECT_FALSE(rig.binding->demoMode());
    EXPECT_TRUE(rig.messages.calls.empty());
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetPrinterBase(632)", "SetInterface(0)", "InitHardware(2)",
                                        "GetDriverVersion(0)"}));
    EXPECT_EQ(rig.logLines(), std::vector<std::string>{"Hardware initialized"});
    ASSERT_NE(rig.binding->feedbackForm(), nullptr);
    EXPECT_TRUE(rig.binding->feedbackForm()->isVisible());
    EXPECT_EQ(rig.binding->feedbackForm()->windowTitle(), "Virtual driver feedback");
    EXPECT_EQ(rig.binding->feedbackForm()->size(), QSize(378, 450));
    EXPECT_TRUE(rig.binding->feedbackForm()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(rig.binding->feedbackForm()->testAttribute(Qt::WA_QuitOnClose));
}

TEST(VirtualDriverInit, WithoutDebugTheLogWindowStaysHiddenAndEmpty) {
    Rig rig(false);
    rig.driver.initByIndex[{0, 0}] = 1000;
    rig.binding->InitDevice();
    rig.binding->SendLevel(0, 10);
    ASSERT_NE(rig.binding->feedbackForm(), nullptr);
    EXPECT_FALSE(rig.binding->feedbackForm()->isVisible());
    EXPECT_TRUE(rig.logLines().empty());
    EXPECT_FALSE(rig.binding->feedbackForm()->FreqTimer()->isActive());
    EXPECT_EQ(rig.binding->feedbackForm()->FreqTimer()->interval(), 1000);
}

TEST(VirtualDriverInit, CorruptCalibrationIsReportedAndTheInstrumentUsed) {
    Rig rig;
    rig.driver.initResults = {999};
    EXPECT_EQ(rig.binding->InitDevice(), 1000);
    EXPECT_FALSE(rig.binding->demoMode());
    ASSERT_EQ(rig.messages.calls.size(), 1u);
    EXPECT_EQ(rig.messages.calls[0].text, CalibrationMessage);
    EXPECT_EQ(rig.messages.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(rig.messages.calls[0].buttons, MessageButtons::Ok);
}

TEST(VirtualDriverInit, RetryTriesTheConfiguredAddressAgain) {
    Rig rig;
    rig.state.useUsb = true;
    rig.state.baseAddressIndex = 4;
    rig.driver.initResults = {1011, 1010, 1000};
    rig.messages.answers = {MessageResult::Retry, MessageResult::Retry};

    EXPECT_EQ(rig.binding->InitDevice(), 1000);

    EXPECT_EQ(rig.driver.callsNamed("InitHardware"),
              (std::vector<std::string>{"InitHardware(4)", "InitHardware(4)", "InitHardware(4)"}));
    EXPECT_EQ(rig.driver.callsNamed("SetInterface"),
              (std::vector<std::string>{"SetInterface(1)", "SetInterface(1)", "SetInterface(1)"}));
    ASSERT_EQ(rig.messages.calls.size(), 2u);
    EXPECT_EQ(rig.messages.calls[0].text, notFoundQuestion(4, "USB"));
    EXPECT_EQ(rig.messages.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(rig.messages.calls[0].buttons, MessageButtons::YesNoAbortRetry);
    EXPECT_FALSE(rig.binding->demoMode());
    EXPECT_EQ(rig.binding->interfaceInUse(), 1);
}

TEST(VirtualDriverInit, AbortEndsTheProgramInDemoMode) {
    Rig rig;
    rig.messages.answers = {MessageResult::Abort};
    EXPECT_EQ(rig.binding->InitDevice(), 1011);
    EXPECT_TRUE(rig.binding->terminateRequested());
    EXPECT_TRUE(rig.binding->demoMode());
    EXPECT_EQ(rig.messages.calls.size(), 1u);
    EXPECT_TRUE(rig.driver.callsNamed("GetAllDevices").empty());
    EXPECT_EQ(rig.logLines(), std::vector<std::string>{"Device is not present"});
}

TEST(VirtualDriverInit, NoContinuesInDemoModeWithoutSearching) {
    for (MessageResult answer : {MessageResult::No, MessageResult::Closed}) {
        Rig rig;
        rig.driver.initResults = {1002};
        rig.messages.answers = {answer};
        EXPECT_EQ(rig.binding->InitDevice(), 1002);
        EXPECT_TRUE(rig.binding->demoMode());
        EXPECT_FALSE(rig.binding->terminateRequested());
        EXPECT_TRUE(rig.driver.callsNamed("GetAllDevices").empty());
        EXPECT_EQ(rig.logLines(), std::vector<std::string>{"FPGA burn problem"});
    }
}

TEST(VirtualDriverInit, FailingInterfaceCountsAsDeviceNotPresent) {
    Rig rig;
    rig.state.useUsb = true;
    rig.driver.setInterfaceResult = {0, 1};
    EXPECT_EQ(rig.binding->InitDevice(), 1011);
    EXPECT_TRUE(rig.driver.callsNamed("InitHardware").empty());
    EXPECT_EQ(rig.messages.calls[0].text, notFoundQuestion(0, "USB"));
}

TEST(VirtualDriverInit, SearchFindsTheInstrumentOnUsbAndAdoptsIt) {
    Rig rig;
    rig.driver.devices[1][5] = 0x30;
    rig.driver.initByIndex[{1, 5}] = 1000;
    rig.messages.answers = {MessageResult::Yes, MessageResult::Yes};

    EXPECT_EQ(rig.binding->InitDevice(), 1000);

    ASSERT_EQ(rig.messages.calls.size(), 2u);
    EXPECT_EQ(rig.messages.calls[1].text, foundQuestion(5, "USB"));
    EXPECT_EQ(rig.messages.calls[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(rig.messages.calls[1].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(rig.state.useUsb);
    EXPECT_EQ(rig.state.baseAddressIndex, 5);
    EXPECT_EQ(rig.binding->interfaceInUse(), 1);
    EXPECT_FALSE(rig.binding->demoMode());
    EXPECT_EQ(rig.driver.callsNamed("InitHardware").back(), "InitHardware(5)");
    // Parallel is not searched once USB gave an accepted instrument.
    EXPECT_EQ(rig.driver.callsNamed("SetInterface"),
              (std::vector<std::string>{"SetInterface(0)", "SetInterface(1)"}));
}

TEST(VirtualDriverInit, SearchOffersOnlyQ745AndGoesOnToTheParallelPort) {
    Rig rig;
    rig.driver.devices[1][0] = 0x31;  // another model of the maker
    rig.driver.devices[0][3] = 0x30;
    rig.driver.devices[0][9] = 0x30;
    rig.driver.initByIndex[{0, 9}] = 999;
    rig.messages.answers = {MessageResult::Yes, MessageResult::No, MessageResult::Yes};

    EXPECT_EQ(rig.binding->InitDevice(), 1000);

    EXPECT_EQ(
        rig.messages.texts(),
        (std::vector<std::string>{notFoundQuestion(0, "parallel"), foundQuestion(3, "parallel"),
                                  foundQuestion(9, "parallel"), CalibrationMessage}));
    EXPECT_FALSE(rig.state.useUsb);
    EXPECT_EQ(rig.state.baseAddressIndex, 9);
    EXPECT_FALSE(rig.binding->demoMode());
}

TEST(VirtualDriverInit, NothingAcceptedEndsInDemoMode) {
    Rig rig;
    rig.driver.setInterfaceResult = {0, 1};  // no USB library
    rig.driver.devices[0][7] = 0x30;
    rig.messages.answers = {MessageResult::Yes, MessageResult::No};

    EXPECT_EQ(rig.binding->InitDevice(), 1011);

    EXPECT_EQ(rig.messages.texts().back(), "Ziadne vhodne pristroje neboli najdene");
    EXPECT_EQ(rig.messages.calls.back().kind, MessageKind::Error);
    EXPECT_EQ(rig.state.baseAddressIndex, 0);
    EXPECT_TRUE(rig.binding->demoMode());
    EXPECT_TRUE(rig.driver.callsNamed("GetAllDevices").size() == 1);
}

TEST(VirtualDriverInit, OldOrMissingDriversAreReported) {
    const std::string newerEpb =
        "Nainstalujte, prosim, novu verziu ovladacov KelvoEpb z nasej web stranky, inak moze "
        "dojst k chybam pri cinnosti programu.";
    const std::string newerUsb =
        "Nainstalujte, prosim, novu verziu ovladacov KelvoUsb z nasej web stranky, inak moze "
        "dojst k chybam pri cinnosti programu.";
    const std::string missingUsb =
        "Ovladace KelvoUsb chybaju.\r\nAk chcete pripojit zariadenie cez USB, je ich nutne "
        "nainstalovat.\r\nNachadzaju sa na instalacnom CD a na nasej web stranke.";
    const std::string missingEpb =
        "Ovladace KelvoEpb chybaju.\r\nAk chcete pripojit zariadenie cez paralelny port, je ich "
        "nutne nainstalovat.\r\nNachadzaju sa na instalacnom CD a na nasej web stranke.";
    struct Case {
        int interfaceKind;
        std::uint8_t result, major, minor;
        std::vector<std::string> expected;
    };
    for (const Case& c :
         {Case{0, 1, 2, 1, {newerEpb}}, Case{0, 1, 1, 9, {newerEpb}}, Case{0, 1, 2, 2, {}},
          Case{0, 1, 3, 0, {}}, Case{1, 2, 1, 0, {newerUsb}}, Case{1, 2, 0, 5, {newerUsb}},
          Case{1, 2, 1, 1, {}}, Case{1, 3, 0, 0, {missingUsb}}, Case{0, 3, 0, 0, {missingEpb}}}) {
        Rig rig;
        rig.driver.driverVersion[c.interfaceKind] = {c.result, {c.major, c.minor}};
        rig.binding->CheckDriverVersion(c.interfaceKind);
        EXPECT_EQ(rig.messages.texts(), c.expected)
            << "interface " << c.interfaceKind << " version " << int(c.major) << "."
            << int(c.minor);
        for (const auto& call : rig.messages.calls)
            EXPECT_EQ(call.kind, MessageKind::Information);
    }
}

TEST(VirtualDriverInit, LogNamesEveryOutcome) {
    for (auto [result, line] :
         std::vector<std::pair<int, std::string>>{{1010, "Communication problem"},
                                                  {1012, "Port control problem"},
                                                  {1013, "Unknown problem"}}) {
        Rig rig;
        rig.driver.initResults = {result};
        EXPECT_EQ(rig.binding->InitDevice(), result);
        EXPECT_EQ(rig.logLines(), std::vector<std::string>{line});
    }
}
