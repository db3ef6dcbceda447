// "q745ctl device" as a user runs it: the driver library, the stand-ins found beside it, the
// virtual instrument configured and logged through the environment.
#include <gtest/gtest.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace fs = std::filesystem;

namespace {

class DeviceCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("q745-device-command-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    int run(const std::vector<std::string>& arguments,
            std::map<std::string, std::string> environment = {}) {
        environment.emplace("XDG_RUNTIME_DIR", folder.string());
        std::vector<std::string> words = {"device"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        ChildProcess child(Q745CTL, words, environment);
        const int code = child.wait();
        output = child.output();
        return code;
    }

    std::vector<std::string> logLines(const fs::path& file) {
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    static int count(const std::vector<std::string>& lines, const std::string& text) {
        int found = 0;
        for (const std::string& line : lines)
            found += line.find(text) != std::string::npos;
        return found;
    }

    fs::path folder;
    std::string output;
};

TEST_F(DeviceCommand, InitialisesTheVirtualInstrumentAndLogsEveryEvent) {
    const fs::path log = folder / "session.jsonl";
    ASSERT_EQ(run({}, {{"Q745_VIRTUAL_INSTRUMENT_LOG", log.string()}}), 0) << output;
    EXPECT_NE(output.find("InitHardware(0): 1000 initialised and calibrated"), std::string::npos);
    EXPECT_NE(output.find("device index 0: model ID 0x30"), std::string::npos);
    EXPECT_NE(output.find("Port driver: 2.03"), std::string::npos);
    EXPECT_NE(output.find("Oscillator: 50000000 Hz"), std::string::npos);
    EXPECT_NE(output.find("\"configured\":true"), std::string::npos);

    const std::vector<std::string> lines = logLines(log);
    ASSERT_GT(lines.size(), 1000u);
    for (const std::string& line : lines) {
        ASSERT_EQ(line.front(), '{') << line;
        ASSERT_EQ(line.back(), '}') << line;
    }
    EXPECT_EQ(count(lines, "\"event\":\"configuration\",\"length\":6873,\"loaded\":true"), 1);
    EXPECT_EQ(count(lines, "\"event\":\"dac\""), 4);
    EXPECT_EQ(count(lines, "\"event\":\"switch\",\"image\":17"), 1);
    EXPECT_EQ(count(lines, "\"event\":\"calibrationRead\""), 52);
    EXPECT_EQ(count(lines, "\"event\":\"identification\",\"modelId\":48"), 2);
    EXPECT_EQ(count(lines, "\"event\":\"write\",\"register\":12,\"value\":192"), 1);
    EXPECT_NE(lines.back().find("\"event\":\"final\""), std::string::npos);
    EXPECT_NE(lines.back().find("\"configured\":true"), std::string::npos);
}

TEST_F(DeviceCommand, SetsTheInstrumentUpAndAnswersInJson) {
    ASSERT_EQ(run({"--json", "--frequency", "1000000", "--level", "A", "4096", "--output", "B",
                   "-20dB", "--filter", "A", "high"}),
              0)
        << output;
    EXPECT_NE(output.find("\"initHardware\":{\"result\":1000"), std::string::npos) << output;
    EXPECT_NE(output.find("{\"call\":\"SetFrequency(1000000)\",\"result\":999999.06}"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("{\"call\":\"SetLevel(0, 4096)\",\"result\":1}"), std::string::npos);
    EXPECT_NE(output.find("{\"call\":\"SetOutput(1, 0)\",\"result\":1}"), std::string::npos);
    EXPECT_NE(output.find("\"levelDac\":2860"), std::string::npos);
    EXPECT_NE(output.find("\"outputPath\":\"-20dB\""), std::string::npos);
    EXPECT_NE(output.find("\"filter\":\"High\""), std::string::npos);
}

TEST_F(DeviceCommand, ShowsThePlayedPointsOnRequest) {
    ASSERT_EQ(run({"--points"}), 0) << output;
    EXPECT_NE(output.find("\"playedPoints\":16384,\"playedFnv1a\":"), std::string::npos);
    EXPECT_NE(output.find("\"points\":[128,128,128,"), std::string::npos);
    ASSERT_EQ(run({}), 0);
    EXPECT_EQ(output.find("\"points\""), std::string::npos);
}

TEST_F(DeviceCommand, UsbInstrument) {
    ASSERT_EQ(run({"--usb"}, {{"Q745_VIRTUAL_INSTRUMENT", "usb"}}), 0) << output;
    EXPECT_NE(output.find("SetInterface(1): 0 ready"), std::string::npos);
    EXPECT_NE(output.find("InitHardware(0): 1000"), std::string::npos);
    EXPECT_NE(output.find("\"source\":\"usb:0\""), std::string::npos);
}

TEST_F(DeviceCommand, ReportsWhyNoInstrumentIsReady) {
    EXPECT_EQ(run({}, {{"Q745_VIRTUAL_INSTRUMENT", "none"}}), 1);
    EXPECT_NE(output.find("1011 no instrument"), std::string::npos) << output;
    EXPECT_NE(output.find("no instrument answers"), std::string::npos);

    EXPECT_EQ(run({"--index", "3"}, {{"Q745_VIRTUAL_INSTRUMENT", "parallel:3,parallel:7"}}), 0);
    EXPECT_NE(output.find("device index 7: model ID 0x30"), std::string::npos);

    EXPECT_EQ(run({}, {{"Q745_PORT_DRIVER", (folder / "missing.so").string()}}), 1);
    EXPECT_NE(output.find("1013 the port driver cannot be opened"), std::string::npos) << output;

    EXPECT_EQ(run({"--usb"}), 1);
    EXPECT_NE(output.find("SetInterface(1): 2 the USB instrument is not ready"), std::string::npos);
}

TEST_F(DeviceCommand, BadInputGetsAClearMessage) {
    EXPECT_EQ(run({}, {{"Q745_VIRTUAL_INSTRUMENT", "parallel:16"}}), 1);
    EXPECT_NE(output.find("Q745_VIRTUAL_INSTRUMENT: \"parallel:16\" is not parallel:N"),
              std::string::npos)
        << output;
    EXPECT_EQ(run({"--index", "16"}), 1);
    EXPECT_NE(output.find("Device index must be 0 to 15: 16"), std::string::npos);
    EXPECT_EQ(run({"--level", "C", "100"}), 1);
    EXPECT_NE(output.find("Channel must be A or B: C"), std::string::npos);
    EXPECT_EQ(run({"--frobnicate"}), 1);
    EXPECT_NE(output.find("not expected: --frobnicate"), std::string::npos);

    // A text from outside reaches the log as valid JSON, its quote and stray byte included.
    const fs::path log = folder / "session.jsonl";
    EXPECT_EQ(run({}, {{"Q745_VIRTUAL_INSTRUMENT", "usb:\"\xff"},
                       {"Q745_VIRTUAL_INSTRUMENT_LOG", log.string()}}),
              1);
    const std::vector<std::string> lines = logLines(log);
    ASSERT_FALSE(lines.empty());
    const nlohmann::json state = nlohmann::json::parse(lines.back()).at("state");
    EXPECT_NE(state.at("configurationError").get<std::string>().find("usb:\""), std::string::npos)
        << lines.back();
}

TEST_F(DeviceCommand, ValuesTheDriverDoesNotTakeAreRefusedBeforeAnyDeviceCall) {
    const fs::path log = folder / "session.jsonl";
    const std::vector<std::vector<std::string>> refused = {
        {"--level", "A", "4294967296"}, {"--shift", "A", "4294969344"}, {"--level", "B", "-1"},
        {"--frequency", "nan"},         {"--frequency", "inf"},         {"--frequency", "1e30"},
        {"--frequency", "-5"}};
    for (const std::vector<std::string>& arguments : refused) {
        EXPECT_EQ(run(arguments, {{"Q745_VIRTUAL_INSTRUMENT_LOG", log.string()}}), 1);
        EXPECT_NE(output.find("must be 0 to"), std::string::npos) << output;
        EXPECT_NE(output.find(": " + arguments.back()), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(log)) << "the instrument was reached for " << arguments.back();
    }
    ASSERT_EQ(run({"--level", "A", "0", "--shift", "B", "4096", "--frequency", "0"}), 0) << output;
    EXPECT_NE(output.find("SetFrequency(0): 1525.8789"), std::string::npos) << output;
}

}  // namespace
