#include <gtest/gtest.h>

#include <QLabel>

#include "DeviceRig.h"
#include "ModalDriver.h"
#include "device/PrinterScreen.h"

TEST(PrinterSharing, CountsTheJobsOfThePrinterOnTheInstrumentsPort) {
    DeviceRig<> rig;
    rig.state.portName = "LPT1:";
    rig.spooler.queues = {{"LPT1:", 0}, {"COM1:,LPT2:", 4}, {"FILE:,LPT1:", 3}, {"LPT1:", 9}};
    rig.printer.countPrinterJobs();
    EXPECT_EQ(rig.state.printerJobs, 3);

    rig.spooler.queues = {{"lpt1:", 2}, {"LPT1", 2}, {"LPT1:x", 2}};
    rig.printer.countPrinterJobs();
    EXPECT_EQ(rig.state.printerJobs, 0);

    rig.state.portName = "KELVOUSB";
    rig.spooler.queues = {{"KELVOUSB", 1}};
    rig.printer.countPrinterJobs();
    EXPECT_EQ(rig.state.printerJobs, 1);
}

TEST(PrinterSharing, PortIsHandedOverOnceEachWay) {
    DeviceRig<> rig;
    rig.state.portName = "LPT1:";
    rig.spooler.queues = {{"LPT1:", 1}};
    rig.printer.spoolerStatusChanged();
    rig.spooler.queues = {{"LPT1:", 2}};
    rig.printer.spoolerStatusChanged();
    rig.spooler.queues = {};
    rig.printer.spoolerStatusChanged();
    rig.printer.spoolerStatusChanged();
    EXPECT_EQ(rig.driver.calls, (std::vector<std::string>{"SetEPBOn(0)", "SetEPBOn(1)"}));
}

TEST(PrinterSharing, DeviceCallWaitsUntilThePrintJobEnds) {
    DeviceRig<> rig;
    rig.driver.initByIndex[{0, 0}] = 1000;
    rig.binding->InitDevice();
    rig.driver.forget();
    rig.state.portName = "LPT1:";
    rig.spooler.queues = {{"LPT1:", 1}};
    rig.printer.spoolerStatusChanged();

    QString title, text;
    bool onTop = false, waitShown = false;
    std::vector<std::string> callsWhileWaiting;
    whenModalShown([&](QWidget* window) {
        title = window->windowTitle();
        text = window->findChild<QLabel*>("Label1")->text();
        onTop = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        waitShown = rig.printer.printerWaitShown();
        callsWhileWaiting = rig.driver.calls;
        window->close();  // the operator cannot close it
        QApplication::processEvents();
        EXPECT_TRUE(window->isVisible());
        rig.spooler.queues = {};
        rig.printer.spoolerStatusChanged();
    });
    rig.binding->SendLevel(0, 42);

    EXPECT_EQ(title, "Please wait ...");
    EXPECT_EQ(text, "Please wait while printer is in use.");
    EXPECT_TRUE(onTop);
    EXPECT_TRUE(waitShown);
    EXPECT_EQ(callsWhileWaiting, std::vector<std::string>{"SetEPBOn(0)"});
    EXPECT_FALSE(rig.printer.printerWaitShown());
    EXPECT_EQ(rig.driver.calls,
              (std::vector<std::string>{"SetEPBOn(0)", "SetEPBOn(1)", "SetLevel(0,42)"}));
}
