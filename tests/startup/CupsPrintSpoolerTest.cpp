#include <gtest/gtest.h>

#include "platform/CupsPrintSpooler.h"

TEST(CupsPrintSpoolerTest, ParallelDevicesMapToTheirPortNames) {
    EXPECT_EQ(spoolerPortName("parallel:/dev/lp0"), "LPT1:");
    EXPECT_EQ(spoolerPortName("parallel:/dev/lp3"), "LPT4:");
    EXPECT_EQ(spoolerPortName("parallel:/dev/parport1"), "LPT2:");
    EXPECT_EQ(spoolerPortName("parallel:/dev/lp4"), "parallel:/dev/lp4");
    EXPECT_EQ(spoolerPortName("parallel:/dev/lp10"), "parallel:/dev/lp10");
    EXPECT_EQ(spoolerPortName("usb://Maker/Printer"), "usb://Maker/Printer");
    EXPECT_EQ(spoolerPortName("ipp://host/printers/lp0"), "ipp://host/printers/lp0");
    EXPECT_EQ(spoolerPortName(""), "");
}

TEST(CupsPrintSpoolerTest, AskingThePrintSystemNeverFails) {
    // Whether or not a print system runs here, the answer is a list (maybe empty) and no
    // queue that is not on a parallel port reports jobs.
    CupsPrintSpooler spooler;
    for (const PrintSpooler::Printer& printer : spooler.printers()) {
        if (printer.ports.rfind("LPT", 0) != 0) {
            EXPECT_EQ(printer.jobs, 0);
        }
    }
}
