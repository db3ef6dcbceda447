// The shared library as the program uses it: exports only, with the stand-in port driver and
// USB library loaded by name from beside it, driving the process's virtual bench.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DynamicPortDriver.h"
#include "VirtualBench.h"
#include "q745drv.h"

namespace {

using q745vi::VirtualBench;

void configureBench(const char* text) {
    std::string error;
    VirtualBench::process().reconfigure(q745vi::BenchConfiguration::parse(text, error).value());
    VirtualBench::process().parallelPort().setOpenFails(false);
}

std::string standInState(const char* library) {
    void* handle = ::dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return {};
    using State = const char*();
    auto* state = reinterpret_cast<State*>(::dlsym(handle, "Q745VirtualInstrumentState"));
    std::string text = state != nullptr ? state() : "";
    ::dlclose(handle);
    return text;
}

class StandIn : public ::testing::Test {
protected:
    void SetUp() override {
        configureBench("parallel:0");
        ASSERT_EQ(SetInterface(0), 0);
    }
    void TearDown() override {
        SetInterface(0);
        ::unsetenv("Q745_USB_LIBRARY");
    }
};

TEST_F(StandIn, InitialisesThroughThePortDriverLoadedByName) {
    EXPECT_EQ(GetVersionCode(), 'N');
    EXPECT_EQ(InitHardware(0), 1000);
    EXPECT_TRUE(VirtualBench::process().parallelInstrument(0)->configured());
    const std::string state = standInState("libkelvoepb.so");
    EXPECT_NE(state.find("\"source\":\"parallel:0\""), std::string::npos);
    EXPECT_NE(state.find("\"configured\":true"), std::string::npos);
    EXPECT_EQ(GetOscillatorFrequency(), 50000000.0f);

    std::array<std::uint8_t, 16> list{};
    EXPECT_EQ(GetAllDevices(list.data()), 1);
    EXPECT_EQ(list[0], 0x30);
    std::uint8_t version[2] = {0, 0};
    EXPECT_EQ(GetDriverVersion(0, version), 1);
    EXPECT_EQ(version[0], 2);
    EXPECT_EQ(version[1], 3);
}

TEST_F(StandIn, ExportsDriveTheInstrument) {
    ASSERT_EQ(InitHardware(0), 1000);
    EXPECT_EQ(SetChannelOn(0, 1), 1);
    EXPECT_EQ(SetLevel(0, 4096), 1);
    EXPECT_EQ(SetShift(0, 0), 1);
    EXPECT_EQ(SetFilter(0, 1), 1);
    EXPECT_EQ(SetFrequency(1000000.0f), 999999.0625f);
    const q745vi::InstrumentState state = VirtualBench::process().parallelInstrument(0)->state();
    EXPECT_TRUE(state.channels[0].enabled);
    EXPECT_EQ(state.channels[0].levelDac, 2860);
    EXPECT_EQ(state.channels[0].shiftDac, 206);
    EXPECT_EQ(state.channels[0].filter, "High");
    EXPECT_NEAR(state.channels[0].amplitudeVolts, 16.0, 1e-9);
    EXPECT_NEAR(state.channels[0].offsetVolts, -4.0, 1e-9);
    EXPECT_EQ(state.divider, 6);
    EXPECT_EQ(state.synthesiserCode, 41942);
}

TEST_F(StandIn, BadWaveformArgumentsAreRefused) {
    ASSERT_EQ(InitHardware(0), 1000);
    const std::uint64_t writes =
        VirtualBench::process().parallelInstrument(0)->counters().dataWrites;
    std::vector<std::uint8_t> data(16384, 128);
    EXPECT_EQ(SetWaveForm(nullptr, 0, 100, 0, 1), 0);
    EXPECT_EQ(SetWaveForm(data.data(), 0, 0, 0, 1), 0);
    EXPECT_EQ(SetWaveForm(data.data(), 0, 262145, 0, 1), 0);
    EXPECT_EQ(SetWaveForm(data.data(), 0, -2, 0, 1), 0);
    EXPECT_EQ(SetWaveForm(data.data(), 1, -1, 0, 0), 0);
    EXPECT_EQ(VirtualBench::process().parallelInstrument(0)->counters().dataWrites, writes);
}

TEST_F(StandIn, UsbInstrumentThroughTheUsbLibraryLoadedByName) {
    configureBench("usb");
    ASSERT_EQ(SetInterface(1), 0);
    EXPECT_EQ(InitHardware(0), 1000);
    EXPECT_TRUE(VirtualBench::process().usbInstrument()->configured());
    std::uint8_t version[2] = {0, 0};
    EXPECT_EQ(GetDriverVersion(-1, version), 2);
    EXPECT_EQ(version[0], 1);
    EXPECT_EQ(version[1], 2);
    EXPECT_NE(standInState("libkelvousb.so").find("\"source\":\"usb:0\""), std::string::npos);
    EXPECT_EQ(SetInterface(0), 0);
    EXPECT_FALSE(VirtualBench::process().usb().ready());
}

TEST_F(StandIn, UsbLibraryWithoutVersionFunctionReportsVersionOne) {
    ::setenv("Q745_USB_LIBRARY", "libkelvousb-noversion.so", 1);
    std::uint8_t version[2] = {9, 9};
    EXPECT_EQ(GetDriverVersion(1, version), 2);
    EXPECT_EQ(version[0], 1);
    EXPECT_EQ(version[1], 0);
}

TEST_F(StandIn, MissingUsbLibrary) {
    ::setenv("Q745_USB_LIBRARY", "libq745-no-such-library.so", 1);
    EXPECT_EQ(SetInterface(1), 1);
    std::uint8_t version[2] = {0, 0};
    EXPECT_EQ(GetDriverVersion(1, version), 3);
}

TEST_F(StandIn, UsbWithoutInstrumentIsNotReady) {
    configureBench("parallel:0");
    EXPECT_EQ(SetInterface(1), 2);
    std::uint8_t version[2] = {0, 0};
    EXPECT_EQ(GetDriverVersion(-1, version), 1);  // back on the parallel port
}

TEST_F(StandIn, OnlyTheExportsAreVisible) {
    void* library = ::dlopen("libq745drv.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    for (const char* name : {"SetInterface",          "SetPrinterBase", "SetEPBOn",
                             "GetVersionCode",        "InitHardware",   "GetAllDevices",
                             "GetDriverVersion",      "SetFrequency",   "GetOscillatorFrequency",
                             "SetWaveForm",           "SetLevel",       "SetShift",
                             "SetExternalLevel",      "SetFilter",      "SetOutput",
                             "SetChannelOn",          "SetTriggerMode", "SetTriggerEdge",
                             "SetExternalTriggerUse", "SetGeneratorOn", "SetDigitalOutputOn",
                             "SetDigitalVoltage"})
        EXPECT_NE(::dlsym(library, name), nullptr) << name;
    // q745drv::roundHalfEven(long double) and a stand-in's function stay out of sight.
    EXPECT_EQ(::dlsym(library, "_ZN7q745drv13roundHalfEvenEe"), nullptr);
    EXPECT_EQ(::dlsym(library, "KelvoEpbOpen"), nullptr);
    ::dlclose(library);
}

TEST_F(StandIn, PortDriverLibraryIsFoundByNameFromTheEnvironment) {
    q745drv::DynamicPortDriverProvider provider;
    ::setenv("Q745_PORT_DRIVER", "libq745-no-such-library.so", 1);
    EXPECT_EQ(provider.open(), nullptr);
    ::setenv("Q745_PORT_DRIVER", "libkelvousb.so", 1);  // loads, but lacks the symbols
    EXPECT_EQ(provider.open(), nullptr);
    ::unsetenv("Q745_PORT_DRIVER");
    VirtualBench::process().parallelPort().setOpenFails(true);  // no device
    EXPECT_EQ(provider.open(), nullptr);
    VirtualBench::process().parallelPort().setOpenFails(false);
    const int handles = VirtualBench::process().parallelPort().openHandles();
    {
        auto port = provider.open();
        EXPECT_NE(port, nullptr);
        EXPECT_EQ(VirtualBench::process().parallelPort().openHandles(), handles + 1);
    }
    EXPECT_EQ(VirtualBench::process().parallelPort().openHandles(), handles);
}

}  // namespace
