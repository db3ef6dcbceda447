#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../waves/TempFolder.h"
#include "ChangedSettings.h"
#include "RecordingMessages.h"
#include "core/SettingsTranslator.h"
#include "ValuesTarget.h"

namespace {

std::string golden(const char* name) {
    return fileText(std::filesystem::path(SETTINGS_TEST_DATA) / name);
}

// Both passes over one text, as the start-up runs them.
ValuesTarget readBack(const std::string& text) {
    ValuesTarget target;
    applySettingsText(text, true, target);
    applySettingsText(text, false, target);
    return target;
}

// The target after the full pass over the given lines.
ValuesTarget fullPass(const std::string& text) {
    ValuesTarget target;
    applySettingsText(text, false, target);
    return target;
}

}  // namespace

TEST(SettingsWriterTest, DefaultValuesGiveTheShippedFileByteForByte) {
    EXPECT_EQ(settingsText(SettingsValues{}), golden("DefaultSettings.dat"));
}

TEST(SettingsWriterTest, ChangedValuesGiveTheExpectedFileByteForByte) {
    EXPECT_EQ(settingsText(changedSettingsValues()), golden("ChangedSettings.dat"));
}

TEST(SettingsWriterTest, WordsOfEveryGroupAndValuesOutsideThem) {
    EXPECT_EQ(valueToWord(WordGroup::Filter, 0), "Low");
    EXPECT_EQ(valueToWord(WordGroup::Output, 2), "-20dB");
    EXPECT_EQ(valueToWord(WordGroup::AbsoluteDbUnit, 2), "dBmV");
    EXPECT_EQ(valueToWord(WordGroup::DigitalVoltage, 0), "3.3V");
    EXPECT_EQ(valueToWord(WordGroup::RelativeDbMode, 0), "Manual dB");
    // A value the group has no word for is kept as its number.
    EXPECT_EQ(valueToWord(WordGroup::OnOff, 5), "5");
    EXPECT_EQ(valueToWord(WordGroup::Filter, -1), "-1");
    EXPECT_EQ(loadToWord(-1), "Open");
    EXPECT_EQ(loadToWord(75), "75");
}

TEST(SettingsRoundTripTest, WriterThenReaderRestoresEveryValue) {
    for (const SettingsValues& written : {SettingsValues{}, changedSettingsValues()}) {
        const std::string text = settingsText(written);
        const ValuesTarget target = readBack(text);
        EXPECT_EQ(settingsText(target.values), text);
    }
}

TEST(SettingsRoundTripTest, FloatingPointValuesReadBack) {
    SettingsValues written;
    // Values with at most 15 significant digits come back exactly.
    const double frequencies[] = {0.1, 1525.878906, 1e-300, 589823.99999, 25e6, 1.25e-6};
    for (double f : frequencies) {
        written.analogFrequency.realFrequency = f;
        written.channels[1].relativeDbNull = -f;
        const ValuesTarget target = readBack(settingsText(written));
        EXPECT_EQ(target.values.analogFrequency.realFrequency, f);
        EXPECT_EQ(target.values.channels[1].relativeDbNull, -f);
    }
    // Others to within the 15 digits written.
    written.analogFrequency.frequency = 1.0 / 3.0;
    const ValuesTarget target = readBack(settingsText(written));
    EXPECT_NEAR(target.values.analogFrequency.frequency, 1.0 / 3.0, 1e-15);
}

TEST(ParseValueTest, NumbersWordsAndHexadecimal) {
    struct Case {
        const char* text;
        bool recognised;
        double number;
    };
    const Case cases[] = {
        {"1,5", true, 1.5},        {"-3", true, -3},        {"1.25e-5", true, 1.25e-5},
        {"+7", true, 7},           {"2f8h", true, 0x2F8},   {"300h", true, 0x300},
        {"low", true, 2},          {"high", true, 1},       {"off", true, 0},
        {"open", true, -1},        {"-20db", true, 2},      {"dbuv", true, 3},
        {"3.3v", true, 0},         {"5v", true, 1},         {"manual db", true, 0},
        {"auto db", true, 1},      {"continuous", true, 1}, {"xyzh", false, 0},
        {"proxy.local", false, 0}, {"", false, 0},          {"1.2.3", false, 0},
        {"inf", false, 0},         {"nan", false, 0},       {"1e999", false, 0},
        {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        const ParsedValue parsed = parseValue(c.text);
        EXPECT_EQ(parsed.recognised, c.recognised) << c.text;
        if (c.recognised) {
            EXPECT_EQ(parsed.number, c.number) << c.text;
        }
    }
}

TEST(SettingsReaderTest, PortAddressForms) {
    const auto port = [](const std::string& value) {
        ValuesTarget target;
        target.values.portAddress = 0x378;
        applySettingsText("Port address = " + value + "\r\n", true, target);
        return target.values.portAddress;
    };
    EXPECT_EQ(port("2F8h"), 0x2F8);
    EXPECT_EQ(port("2f8H"), 0x2F8);
    EXPECT_EQ(port("3F8h"), 0x3F8);
    EXPECT_EQ(port("278h"), 0x278);
    EXPECT_EQ(port("888"), 0x378) << "decimal 888 is 0x378";
    EXPECT_EQ(port("632"), 0x278);
    EXPECT_EQ(port("300h"), 0x378) << "not a port of the list";
    EXPECT_EQ(port("zzh"), 0x378);
}

TEST(SettingsReaderTest, BaseAddressIsClampedAndCommunicationKeysBelongToTheirPass) {
    const auto base = [](const std::string& value) {
        ValuesTarget target;
        applySettingsText("Base address = " + value, true, target);
        return target.values.baseAddress;
    };
    EXPECT_EQ(base("20"), 15);
    EXPECT_EQ(base("-3"), 0);
    EXPECT_EQ(base("7"), 7);
    EXPECT_EQ(base("1e300"), 15);

    const std::string text = "Base address = 5\r\nUSB = On\r\nUse proxy = On\r\n";
    ValuesTarget full = fullPass(text);
    EXPECT_EQ(full.calls, std::vector<std::string>{"useProxy"});
    ValuesTarget communication;
    applySettingsText(text, true, communication);
    EXPECT_EQ(communication.calls, (std::vector<std::string>{"baseAddress", "usb"}));
}

TEST(SettingsReaderTest, WaveSlotMustBeInRangeAndFilled) {
    ValuesTarget target;
    target.emptySlots = {7};
    applySettingsText(
        "Wave on channel A = 7\nWave on channel B = 32\nWave on channel B = -1\n"
        "Wave on channel B = 6\n",
        false, target);
    EXPECT_EQ(target.values.channels[0].wave, 0);
    EXPECT_EQ(target.values.channels[1].wave, 6);
    EXPECT_EQ(target.calls, std::vector<std::string>{"wave(1)"});
}

TEST(SettingsReaderTest, ProxyPortAndProxyAddress) {
    ValuesTarget target =
        fullPass("Proxy port = 0\nProxy port = -8\nProxy address = Proxy.Example.NET \n");
    EXPECT_EQ(target.values.proxyPort, 0);
    EXPECT_EQ(target.values.proxyAddress, "proxy.example.net");
    target = fullPass("Proxy port = 3128\nProxy address = cafeh\n");
    EXPECT_EQ(target.values.proxyPort, 3128);
    EXPECT_EQ(target.values.proxyAddress, "") << "hexadecimal digits and h read as a number";
    // A text value only ever reaches the proxy address.
    target = fullPass("Channel B phase = east\n[analog mode]\nFrequency = fast\n");
    EXPECT_TRUE(target.calls.empty());
}

TEST(SettingsReaderTest, InterfaceModeTakesOnlyTheThreeModes) {
    const auto mode = [](const std::string& value) {
        return fullPass("Interface mode = " + value).values.interfaceMode;
    };
    EXPECT_EQ(mode("2"), ModeDigital);
    EXPECT_EQ(mode("4"), ModeImport);
    EXPECT_EQ(mode("3"), ModeAnalog);
    EXPECT_EQ(mode("0"), ModeAnalog);
    EXPECT_EQ(mode("8"), ModeAnalog);
    EXPECT_EQ(mode("-2"), ModeAnalog);
}

TEST(SettingsReaderTest, DecimalCommaAndMultiplierRange) {
    ValuesTarget target =
        fullPass("[Analog mode]\nFrequency = 1,5\nChannel B multiplication = 100\n");
    EXPECT_EQ(target.values.analogFrequency.frequency, 1.5);
    EXPECT_EQ(target.values.channelBMultiplication, 1);
    target = fullPass("[Analog mode]\nChannel B multiplication = 99\n");
    EXPECT_EQ(target.values.channelBMultiplication, 99);
    target = fullPass("[Analog mode]\nChannel B multiplication = 0,5\n");
    EXPECT_EQ(target.values.channelBMultiplication, 1);
    target = fullPass("[Analog mode]\nChannel B multiplication = 2,6\n");
    EXPECT_EQ(target.values.channelBMultiplication, 3);
    target = fullPass("[Digital mode]\nChannel B multiplication = 5\n");
    EXPECT_EQ(target.values.channelBMultiplication, 1) << "analog section only";
}

TEST(SettingsReaderTest, SectionsDecideLevelsOutputsAndFrequencies) {
    const std::string text =
        "Channel A level = 11\n"
        "Frequency = 12\n"
        "[Analog mode]\n"
        "Channel A level = 100\nOutput of channel B = -20dB\nFrequency = 1000\n"
        "[Auto update]\n"
        "Use proxy = On\n"
        "Channel B level = 200\n"
        "[Digital mode]\n"
        "Channel A level = 300\nFrequency = 2000\nReal frequency = 2001\n"
        "Frequency move mode = Step\n"
        "[Settings]\n"
        "Auto filter = On\n"
        "[Import from scope mode]\n"
        "Channel A level = 400\nChannel B Level = 500\nOutput of channel A = 0\n"
        "Output of channel B = 2\nFrequency = 3000\n";
    const ValuesTarget target = fullPass(text);
    const SettingsValues& v = target.values;
    EXPECT_EQ(v.channels[0].level, 100);
    EXPECT_EQ(v.channels[1].level, 200) << "an unknown header keeps the analog section";
    EXPECT_EQ(v.channels[1].output, 2);
    EXPECT_EQ(v.analogFrequency.frequency, 1000);
    EXPECT_EQ(v.digitalFrequency.frequency, 2000);
    EXPECT_EQ(v.digitalFrequency.realFrequency, 2001);
    EXPECT_EQ(v.digitalFrequency.moveMode, 0);
    EXPECT_EQ(v.importFrequency.frequency, 3000);
    EXPECT_EQ(v.importLevelA, 400);
    EXPECT_EQ(v.importLevelB, 500);
    EXPECT_EQ(v.importOutputA, 0);
    EXPECT_EQ(v.importOutputB, 2);
    EXPECT_TRUE(v.useProxy);
    EXPECT_TRUE(v.autoFilter);
    // Before any section, and in the digital section, levels and frequencies do nothing.
    EXPECT_EQ(std::count(target.calls.begin(), target.calls.end(), "level(0)"), 1);
    EXPECT_EQ(std::count(target.calls.begin(), target.calls.end(), "frequency(1)"), 1);
}

TEST(SettingsReaderTest, FilterWordsAreUndoneAndOtherItemsIgnored) {
    const auto item = [](const std::string& value) {
        ValuesTarget target;
        target.values.channels[0].filter = -7;
        applySettingsText("filter on channel a = " + value, false, target);
        return target.values.channels[0].filter;
    };
    EXPECT_EQ(item("Low"), 0);
    EXPECT_EQ(item("High"), 1);
    EXPECT_EQ(item("Off"), 2);
    EXPECT_EQ(item("5"), -7);
    EXPECT_EQ(item("-1"), -7);
}

TEST(SettingsReaderTest, UnsafeValuesAreSkipped) {
    ValuesTarget target = fullPass(
        "Load on channel A = 0\nLoad on channel B = -5\n"
        "Absolute dB mode on channel A = 4\nVoltage = 2\n"
        "[Analog mode]\nOutput of channel A = 3\n");
    EXPECT_TRUE(target.calls.empty());
    target =
        fullPass("Load on channel A = open\nLoad on channel B = 1\nShift on channel A = 1e300\n");
    EXPECT_EQ(target.values.channels[0].load, -1);
    EXPECT_EQ(target.values.channels[1].load, 1);
    EXPECT_EQ(target.values.channels[0].shift, 2147483647);
}

TEST(SettingsReaderTest, LinesAreFoundWhateverTheCaseSpacesAndLineEnds) {
    const ValuesTarget target = fullPass(
        "  [ANALOG MODE]  \r\n"
        "   CHANNEL A LEVEL=77   \r\r\n"
        "vpp on channel b    =    off\n"
        "no equals sign here\n"
        "\n"
        "Channel B phase = 1=2=3\n"
        "Trigger = On");
    EXPECT_EQ(target.values.channels[0].level, 77);
    EXPECT_FALSE(target.values.channels[1].vpp);
    EXPECT_EQ(target.values.channelBPhase, 123) << "further = signs are left out";
    EXPECT_TRUE(target.values.trigger) << "the last line needs no line end";
}

TEST(SettingsFileTest, MissingFileIsReportedAndChangesNothing) {
    TempFolder folder;
    RecordingMessages messages;
    ValuesTarget target;
    EXPECT_FALSE(readSettings(folder / "Settings.dat", true, target, messages));
    EXPECT_FALSE(readSettings(folder / "Settings.dat", false, target, messages));
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].text,
              "Nie je mozne otvorit subor: " + (folder / "Settings.dat").string());
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Error);
    EXPECT_TRUE(target.calls.empty());
}

TEST(SettingsFileTest, FailureWhileApplyingKeepsTheLinesBefore) {
    TempFolder folder;
    {
        std::ofstream out(folder / "profile.ini", std::ios::binary);
        out << "[Analog mode]\r\nChannel A level = 10\r\nChannel B level = 20\r\nTrigger = On\r\n";
    }
    RecordingMessages messages;
    ValuesTarget target;
    target.failOnCall = 2;
    EXPECT_FALSE(readSettings(folder / "profile.ini", false, target, messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne citat zo suboru: " +
                                                         (folder / "profile.ini").string()});
    EXPECT_EQ(target.values.channels[0].level, 10);
    EXPECT_FALSE(target.values.trigger) << "reading stopped at the failure";
}

TEST(SettingsFileTest, WriteReplacesTheFileAndAFailureKeepsTheOldOne) {
    TempFolder folder;
    RecordingMessages messages;
    const std::filesystem::path file = folder / "Settings.dat";
    ASSERT_TRUE(writeSettings(file, changedSettingsValues(), messages));
    EXPECT_EQ(fileText(file), golden("ChangedSettings.dat"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Settings.dat.tmp"));
    ASSERT_TRUE(writeSettings(file, SettingsValues{}, messages));
    EXPECT_EQ(fileText(file), golden("DefaultSettings.dat"));
    EXPECT_TRUE(messages.calls.empty());

    // A file or folder of the operator's of the old temporary name stays untouched.
    std::filesystem::create_directory(folder / "Settings.dat.tmp");
    std::filesystem::create_directory(folder / "Settings.dat.tmp" / "keep");
    EXPECT_TRUE(writeSettings(file, changedSettingsValues(), messages));
    EXPECT_TRUE(std::filesystem::exists(folder / "Settings.dat.tmp" / "keep"));
    EXPECT_EQ(fileText(file), golden("ChangedSettings.dat"));

    // A folder in the place of the file is never replaced.
    std::filesystem::create_directory(folder / "Profile.ini");
    EXPECT_FALSE(writeSettings(folder / "Profile.ini", changedSettingsValues(), messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne ukladat do suboru: " +
                                                         (folder / "Profile.ini.tmp").string()});
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Profile.ini"));

    messages.calls.clear();
    EXPECT_FALSE(
        writeSettings(folder / "missing" / "Settings.dat", changedSettingsValues(), messages));
    EXPECT_EQ(messages.calls.size(), 1u);
}
