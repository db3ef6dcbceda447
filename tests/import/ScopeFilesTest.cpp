#include <gtest/gtest.h>

#include "RecordingMessages.h"
#include "ScopeFileBuilders.h"
#include "TestFolder.h"
#include "core/UserError.h"
#include "import/Q726DataFile.h"
#include "import/R210DataFile.h"
#include "import/ScopeFileRecognition.h"

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TR210DataFile parsedR210(const std::string& text) {
    TR210DataFile file;
    file.parse(bytesOf(text));
    return file;
}

}  // namespace

TEST(ScopeFileRecognition, SettingsEndLineMakesAnR210File) {
    TestFolder folder;
    EXPECT_EQ(recogniseScopeFile(folder.write("a.txt", r210Text("", {1}, {}))),
              ScopeFileKind::R210);
    EXPECT_EQ(recogniseScopeFile(folder.write("b.txt", r210Text("", {1}, {}, "\n"))),
              ScopeFileKind::R210);
    // Only a whole line counts.
    EXPECT_EQ(recogniseScopeFile(folder.write("c.txt", "SettingsEnd:\r\n SettingsEnd\r\n")),
              ScopeFileKind::Q726);
    EXPECT_EQ(recogniseScopeFile(folder.write("d.bin", q726Bytes(kQ726Header, {1}, {2}))),
              ScopeFileKind::Q726);
    EXPECT_EQ(recogniseScopeFile(folder.path() / "missing.txt"), ScopeFileKind::CannotOpen);
    EXPECT_EQ(recogniseScopeFile(folder.path()), ScopeFileKind::CannotOpen);
}

TEST(R210DataFile, ChannelAOnlyIsAOneChannelFileOfChannelA) {
    TR210DataFile file = parsedR210(r210Text("", ramp(1000), {}));
    EXPECT_EQ(file.channelCount(), 1);
    EXPECT_EQ(file.firstChannel(), 0);
    EXPECT_EQ(file.length(), 1000);
    EXPECT_EQ(file.samples(0).size(), 1000u);
    EXPECT_EQ(file.samples(0)[999], 999 % 256);
}

TEST(R210DataFile, ChannelBOnlyHasFirstChannelB) {
    TR210DataFile file = parsedR210(r210Text("", {}, ramp(10)));
    EXPECT_EQ(file.channelCount(), 1);
    EXPECT_EQ(file.firstChannel(), 1);
    EXPECT_EQ(file.length(), 10);
    WaveformRecord record;
    record.points = {1, 2};
    file.copyChannel(1, record);
    EXPECT_EQ(record.points, rampBytes(10));
    file.copyChannel(0, record);
    EXPECT_TRUE(record.isEmpty());
}

TEST(R210DataFile, TwoChannelsOfEqualLength) {
    TR210DataFile file = parsedR210(r210Text("", ramp(1000), ramp(1000, 7)));
    EXPECT_EQ(file.channelCount(), 2);
    EXPECT_EQ(file.firstChannel(), 0);
    EXPECT_EQ(file.samples(1)[0], 7);
}

TEST(R210DataFile, UnequalChannelsOrNoSamplesAreInvalid) {
    TestFolder folder;
    RecordingMessages messages;
    TR210DataFile file;
    const auto unequal = folder.write("unequal.txt", r210Text("", ramp(1000), ramp(999)));
    EXPECT_FALSE(file.load(unequal, messages));
    const auto empty = folder.write("empty.txt", "TimeBaseValue: 3\r\nSettingsEnd\r\n");
    EXPECT_FALSE(file.load(empty, messages));
    const auto noChannelLine = folder.write("nochannel.txt", "SettingsEnd\r\n12\r\n13\r\n");
    EXPECT_FALSE(file.load(noChannelLine, messages));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Neplatny subor: " + unequal.string(),
                                        "Neplatny subor: " + empty.string(),
                                        "Neplatny subor: " + noChannelLine.string()}));
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Error);
    EXPECT_EQ(file.channelCount(), 0);
}

TEST(R210DataFile, FailedLoadKeepsNothingOfTheFile) {
    TestFolder folder;
    RecordingMessages messages;
    TR210DataFile file;
    ASSERT_TRUE(file.load(folder.write("good.txt", r210Text("DeviceType: 211\r\n", ramp(5), {})),
                          messages));
    EXPECT_FALSE(
        file.load(folder.write("bad.txt", r210Text("DeviceType: x\r\n", ramp(5), {})), messages));
    EXPECT_EQ(file.deviceType(), 211);
    EXPECT_EQ(file.length(), 5);
    EXPECT_FALSE(file.load(folder.path() / "missing.txt", messages));
    EXPECT_EQ(messages.calls.size(), 2u);
}

TEST(R210DataFile, SampleKeepsTheLowEightBits) {
    TR210DataFile file = parsedR210(r210Text("", {300, -1, 255, 256}, {}));
    EXPECT_EQ(file.samples(0), (std::vector<std::uint8_t>{44, 255, 255, 0}));
}

TEST(R210DataFile, BadSampleOrSettingNumberIsInvalid) {
    EXPECT_THROW(parsedR210("SettingsEnd\nChannel A samples:\n12\n1.5\n"), InvalidFile);
    EXPECT_THROW(parsedR210("SettingsEnd\nChannel A samples:\n99999999999\n"), InvalidFile);
    EXPECT_THROW(parsedR210("TimeBaseValue: 1x\nSettingsEnd\nChannel A samples:\n1\n"),
                 InvalidFile);
    EXPECT_THROW(parsedR210("GroundChannelA: 12.5.1\nSettingsEnd\nChannel A samples:\n1\n"),
                 InvalidFile);
    EXPECT_THROW(parsedR210("GroundChannelA: nan\nSettingsEnd\nChannel A samples:\n1\n"),
                 InvalidFile);
    EXPECT_THROW(parsedR210("GroundChannelB:\nSettingsEnd\nChannel A samples:\n1\n"), InvalidFile);
}

TEST(R210DataFile, SettingsAreReadWithEitherDecimalSeparator) {
    TR210DataFile file = parsedR210(
        r210Text("TimeBaseValue : 5\r\nDensityChannelA:3\r\nDensityChannelB: 9\r\n"
                 "GroundChannelA: 127,5\r\nGroundChannelB: 100.25\r\nComment: a:b\r\nNoColon\r\n"
                 "devicetype: 211\r\n",
                 {1}, {2}));
    EXPECT_EQ(file.timeBase(), 5);
    EXPECT_EQ(file.density(0), 3);
    EXPECT_EQ(file.density(1), 9);
    EXPECT_DOUBLE_EQ(file.ground(0), 127.5);
    EXPECT_DOUBLE_EQ(file.ground(1), 100.25);
    // Keys are case-sensitive: "devicetype" is not the device type.
    EXPECT_EQ(file.deviceType(), -1);
}

TEST(R210DataFile, DefaultsWithoutSettings) {
    TR210DataFile file = parsedR210(r210Text("", {1}, {}));
    EXPECT_EQ(file.timeBase(), -1);
    EXPECT_EQ(file.density(0), -1);
    EXPECT_DOUBLE_EQ(file.ground(0), 128.0);
    EXPECT_DOUBLE_EQ(file.ground(1), 128.0);
    EXPECT_EQ(file.deviceType(), -1);
    EXPECT_EQ(file.range(0), -1);
    EXPECT_EQ(file.sampleRate(), -1);
}

TEST(R210DataFile, RangeCodesDependOnTheDeviceType) {
    TR210DataFile old =
        parsedR210(r210Text("DensityChannelA: 1\r\nDensityChannelB: 9\r\n", {1}, {1}));
    EXPECT_EQ(old.range(0), 80);
    EXPECT_EQ(old.range(1), 40000);
    TR210DataFile oldZero = parsedR210(r210Text("DensityChannelA: 0\r\n", {1}, {}));
    EXPECT_EQ(oldZero.range(0), -1);

    TR210DataFile typed = parsedR210(
        r210Text("DeviceType: 213\r\nDensityChannelA: 0\r\nDensityChannelB: 9\r\n", {1}, {1}));
    EXPECT_EQ(typed.range(0), 80);
    EXPECT_EQ(typed.range(1), -1);
    TR210DataFile typedLast =
        parsedR210(r210Text("DeviceType: 1\r\nDensityChannelA: 8\r\n", {1}, {}));
    EXPECT_EQ(typedLast.range(0), 40000);
}

TEST(R210DataFile, SampleRateFromTheDeviceTable) {
    auto rate = [](int device, int code) {
        return parsedR210(r210Text("DeviceType: " + std::to_string(device) +
                                       "\r\nTimeBaseValue: " + std::to_string(code) + "\r\n",
                                   {1}, {}))
            .sampleRate();
    };
    EXPECT_EQ(rate(211, 0), 5e9);
    EXPECT_EQ(rate(212, 21), 500);
    EXPECT_EQ(rate(212, 22), 0);
    EXPECT_EQ(rate(213, 0), 1e10);
    EXPECT_EQ(rate(214, 22), 500);
    EXPECT_EQ(rate(214, 23), 0);
    EXPECT_EQ(rate(215, 1), 8e9);
    EXPECT_EQ(rate(216, 23), 400);
    EXPECT_EQ(rate(216, 30), 0);
    EXPECT_EQ(rate(216, 31), -1);
    EXPECT_EQ(rate(216, -1), -1);
    EXPECT_EQ(rate(210, 3), -1);
    EXPECT_EQ(rate(217, 3), -1);
}

TEST(R210DataFile, LinesBeforeTheFirstChannelAndBlankLinesAreIgnored) {
    TR210DataFile file = parsedR210(
        "SettingsEnd\nsome note\nChannel A samples:\n1\n 2 \n\nChannel B samples:\n3\n4\n\n");
    EXPECT_EQ(file.samples(0), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(file.samples(1), (std::vector<std::uint8_t>{3, 4}));
}

TEST(R210DataFile, FileWithoutSettingsEndReadsSettingsToTheEnd) {
    // Recognition sends such a file to the other reader; read directly it has no samples.
    EXPECT_THROW(parsedR210("Channel A samples:\n1\n2\n"), InvalidFile);
}

TEST(Q726DataFile, ReadsRangesRateAndBothChannels) {
    Q726FileResult result = parseQ726(q726Bytes(kQ726Header, rampBytes(300), rampBytes(300, 9)));
    EXPECT_EQ(result.rangeA, 800);
    EXPECT_EQ(result.rangeB, 40000);
    EXPECT_EQ(result.sampleRate, 1e7);
    EXPECT_EQ(result.lengthA, 300);
    EXPECT_EQ(result.lengthB, 300);
    EXPECT_EQ(result.samplesA, rampBytes(300));
    EXPECT_EQ(result.samplesB, rampBytes(300, 9));
}

TEST(Q726DataFile, SampleDataMayHoldLineEndsAndEqualSigns) {
    std::vector<std::uint8_t> a = {'\r', '\n', '=', 0, 255, '\n'};
    std::vector<std::uint8_t> b = {'-', '-', '-', ' ', 'b'};
    Q726FileResult result = parseQ726(q726Bytes(kQ726Header, a, b));
    EXPECT_EQ(result.samplesA, a);
    EXPECT_EQ(result.samplesB, b);
}

TEST(Q726DataFile, KeysAreCaseInsensitiveAndTheValueFollowsTheLastEqualSign) {
    Q726FileResult result =
        parseQ726(q726Bytes("Range_A=9=0\r\nRANGE_B==2\r\nTimeBase=x=20\r\n", {1, 2}, {3, 4}));
    EXPECT_EQ(result.rangeA, 80);
    EXPECT_EQ(result.rangeB, 400);
    EXPECT_EQ(result.sampleRate, 5e9);
}

TEST(Q726DataFile, CodeTables) {
    auto rate = [](const std::string& code) {
        return parseQ726(q726Bytes("range_a=0\r\nrange_b=0\r\ntimebase=" + code + "\r\n", {1}, {1}))
            .sampleRate;
    };
    EXPECT_EQ(rate("0"), 1000);
    EXPECT_EQ(rate("9"), 1e6);
    EXPECT_EQ(rate("20"), 5e9);
    EXPECT_THROW(rate("21"), InvalidFile);
    EXPECT_THROW(rate("-1"), InvalidFile);
    EXPECT_THROW(rate("1.0"), InvalidFile);
    auto range = [](const std::string& code) {
        return parseQ726(q726Bytes("range_a=" + code + "\r\nrange_b=0\r\ntimebase=0\r\n", {1}, {1}))
            .rangeA;
    };
    EXPECT_EQ(range("0"), 80);
    EXPECT_EQ(range("4"), 1600);
    EXPECT_EQ(range("8"), 40000);
    EXPECT_THROW(range("9"), InvalidFile);
    EXPECT_THROW(range(""), InvalidFile);
}

TEST(Q726DataFile, MisspelledLenghtWorksAndTheFirstLengthWins) {
    std::string text = kQ726Header +
                       "[channel_a]\nlenght=3\nlength=5\n--- begin ---\nabc\n"
                       "[channel_b]\nLENGTH=2\nlenght=4\n--- begin ---\nxy\n";
    Q726FileResult result = parseQ726(bytesOf(text));
    EXPECT_EQ(result.lengthA, 3);
    EXPECT_EQ(result.lengthB, 2);
    EXPECT_EQ(result.samplesA, (std::vector<std::uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(result.samplesB, (std::vector<std::uint8_t>{'x', 'y'}));
}

TEST(Q726DataFile, LengthOutsideTheRecorderRangeIsUnset) {
    std::string tooLong = kQ726Header +
                          "[channel_a]\nlength=35001\n--- begin ---\nabc\n"
                          "[channel_b]\nlength=1\n--- begin ---\nx\n";
    EXPECT_THROW(parseQ726(bytesOf(tooLong)), InvalidFile);
    // An unusable length leaves it unset, so a later one is taken.
    std::string retried = kQ726Header +
                          "[channel_a]\nlength=-5\nlength=3\n--- begin ---\nabc\n"
                          "[channel_b]\nlength=1\n--- begin ---\nx\n";
    EXPECT_EQ(parseQ726(bytesOf(retried)).lengthA, 3);
}

TEST(Q726DataFile, DataEndingExactlyAtTheEndOfTheFileIsRefused) {
    EXPECT_THROW(parseQ726(q726Bytes(kQ726Header, {1, 2}, {3, 4}, "")), InvalidFile);
    Q726FileResult oneMore = parseQ726(q726Bytes(kQ726Header, {1, 2}, {3, 4}, "\n"));
    EXPECT_EQ(oneMore.samplesB, (std::vector<std::uint8_t>{3, 4}));
}

TEST(Q726DataFile, DataBeforeAChannelOrALengthIsRefused) {
    EXPECT_THROW(parseQ726(bytesOf(kQ726Header + "length=2\n--- begin ---\nab\n")), InvalidFile);
    EXPECT_THROW(parseQ726(bytesOf(kQ726Header + "[channel_a]\n--- begin ---\nab\n")), InvalidFile);
}

TEST(Q726DataFile, MissingSettingOrChannelIsRefused) {
    EXPECT_THROW(parseQ726(q726Bytes("range_a=1\r\ntimebase=1\r\n", {1}, {1})), InvalidFile);
    EXPECT_THROW(parseQ726(q726Bytes("range_a=1\r\nrange_b=1\r\n", {1}, {1})), InvalidFile);
    EXPECT_THROW(parseQ726(q726Bytes(kQ726Header, {1}, {})), InvalidFile);
    std::string onlyA = kQ726Header + "[channel_a]\nlength=1\n--- begin ---\nx\n";
    EXPECT_THROW(parseQ726(bytesOf(onlyA)), InvalidFile);
}

TEST(Q726DataFile, ReaderReportsOnlyInvalidFiles) {
    TestFolder folder;
    RecordingMessages messages;
    Q726FileResult result;
    result.rangeA = 1234;
    EXPECT_FALSE(readQ726File(folder.path() / "missing.bin", messages, result));
    EXPECT_TRUE(messages.calls.empty());
    const auto bad = folder.write("bad.bin", q726Bytes(kQ726Header, {1}, {2}, ""));
    EXPECT_FALSE(readQ726File(bad, messages, result));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Neplatny subor: " + bad.string()});
    EXPECT_EQ(result.rangeA, 1234);
    EXPECT_TRUE(
        readQ726File(folder.write("good.bin", q726Bytes(kQ726Header, {1}, {2})), messages, result));
    EXPECT_EQ(result.rangeA, 800);
    EXPECT_EQ(messages.calls.size(), 1u);
}
