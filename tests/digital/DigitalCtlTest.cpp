// Runs the built q745ctl on digital files, as a user's script would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DigitalBuilders.h"
#include "DigitalScratch.h"
#include "VcdReader.h"
#include "core/FileStore.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"
#include "digital/MainWaveFile.h"
#include "digital/WaveFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

class DigitalCtlTest : public DigitalScratch {
protected:
    ToolRun run(const std::string& arguments) {
        const std::filesystem::path out = folder / "stdout.txt";
        const std::filesystem::path err = folder / "stderr.txt";
        const std::string command =
            std::string(Q745CTL) + " " + arguments + " >" + out.string() + " 2>" + err.string();
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text(out), text(err)};
    }
    static std::string text(const std::filesystem::path& path) {
        std::ostringstream content;
        content << std::ifstream(path).rdbuf();
        return content.str();
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    TDigitalWave sampleWave() const {
        return waveOf({singleSignal("A", 0), busSignal("B", {3, 2}), clockSignal("C", 5, 2, 7)},
                      {1, 12, 33});
    }
    // A counting entry on the bus B and a plain one on A.
    MacroQueue sampleQueue() const {
        TDigitalMacro counting =
            runningEntry("Count", waveOf({busSignal("V", {0, 1})}, {0}), {1}, 3);
        counting.valueSource = kValueCountUp;
        counting.bindings = {{0, 0, 0, 0}};
        return {counting, runningEntry("Blink", waveOf({singleSignal("E", 0)}, {0, 1}), {0}, 2)};
    }
};

TEST_F(DigitalCtlTest, InspectsTheMainWave) {
    put("DWave.dat", encodeMainWave(sampleWave()));
    const ToolRun result = run("inspect " + path("DWave.dat"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("\"kind\":\"main digital wave\""), std::string::npos);
    EXPECT_NE(result.out.find("\"length\":3,\"capacity\":65536,\"signalCount\":3"),
              std::string::npos);
    EXPECT_NE(result.out.find("\"name\":\"B\",\"width\":2,\"kind\":0,\"clockBit\":0,\"counter\":0,"
                              "\"pins\":[{\"mask\":8,\"shift\":3},{\"mask\":4,\"shift\":1}]"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\"kind\":1,\"clockBit\":2,\"counter\":7"), std::string::npos);
    EXPECT_NE(result.out.find("\"steps\":[1,12,33]"), std::string::npos);
}

TEST_F(DigitalCtlTest, InspectsWaveFilesAndMacros) {
    put("w.gdw", encodeWaveFile(sampleWave(), sampleQueue()));
    ToolRun result = run("inspect " + path("w.gdw"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("\"kind\":\"digital wave\""), std::string::npos);
    EXPECT_NE(result.out.find("\"runningMacros\":[{\"name\":\"Count\""), std::string::npos);
    EXPECT_NE(result.out.find("\"targetMap\":[1,-1,"), std::string::npos);
    EXPECT_NE(result.out.find("\"position\":-1,\"remaining\":3,\"cycles\":3,\"value\":0,"
                              "\"valueSource\":3"),
              std::string::npos);
    EXPECT_NE(result.out.find("\"bindings\":[{\"bit\":0,\"invert\":0,\"signal\":0,\"step\":0}]"),
              std::string::npos);

    put("DMacros.dat", encodeLibrary(sampleQueue()));
    result = run("inspect " + path("DMacros.dat"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("\"kind\":\"macro library\",\"macros\":[{\"name\":\"Count\""),
              std::string::npos);
    EXPECT_NE(result.out.find("\"name\":\"Blink\""), std::string::npos);

    put("Blink.gma", encodeMacroFile(sampleQueue()[1]));
    result = run("inspect " + path("Blink.gma"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("{\"kind\":\"macro\",\"name\":\"Blink\""), std::string::npos);
    EXPECT_NE(result.out.find("\"wave\":{\"length\":2"), std::string::npos);
}

TEST_F(DigitalCtlTest, DamagedFilesAreRefused) {
    Bytes bytes = encodeWaveFile(sampleWave(), sampleQueue());
    bytes.resize(bytes.size() - 10);
    put("cut.gdw", bytes);
    const ToolRun result = run("inspect " + path("cut.gdw"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Neplatny subor: " + path("cut.gdw") + "\n");
}

TEST_F(DigitalCtlTest, ExpandsAGivenNumberOfSteps) {
    put("in.gdw", encodeWaveFile(sampleWave(), sampleQueue()));
    const ToolRun result =
        run("digital expand " + path("in.gdw") + " --steps 5 -o " + path("out.gdw"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Appended 5 steps; length 8, running macros left 0\n");
    TDigitalWave wave;
    MacroQueue queue;
    decodeWaveFile(*readWholeFile(folder / "out.gdw"), wave, queue);
    // The bus counts 1, 2, 3 and keeps its last value; A blinks twice; the clock shows bit 2 of
    // its counter from 7 on.
    EXPECT_EQ(signalTrace(wave, 1), (std::vector<int>{0, 3, 0, 1, 2, 3, 3, 3}));
    EXPECT_EQ(signalTrace(wave, 0), (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 1}));
    EXPECT_EQ(signalTrace(wave, 2), (std::vector<int>{0, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(wave.signals[2].counter, 12);
    EXPECT_TRUE(queue.empty());
}

TEST_F(DigitalCtlTest, FinishesTheQueueAndAnswersValueFileQuestions) {
    MacroQueue queue = sampleQueue();
    queue[0].valueSource = kValueFromFile;
    queue[0].description = path("missing.bin");
    put("in.gdw", encodeWaveFile(sampleWave(), queue));
    const ToolRun result =
        run("digital expand " + path("in.gdw") + " --finish -o " + path("out.gdw"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err,
              "warning: Makro Count obsahuje odkaz na chybajuci subor:" + path("missing.bin") +
                  " Chcete pokracovat (makro ostane nerozvinute) ?\n");
    EXPECT_EQ(result.out, "Appended 4 steps; length 7, running macros left 0\n");
}

TEST_F(DigitalCtlTest, AWriteThatFailsIsAnErrorNotAWarning) {
    put("in.gdw", encodeWaveFile(sampleWave(), sampleQueue()));
    const std::string target = path("missing/out.gdw");
    const ToolRun result = run("digital expand " + path("in.gdw") + " --steps 1 -o " + target);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.err.starts_with("warning")) << result.err;
    EXPECT_NE(result.err.find(target), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

TEST_F(DigitalCtlTest, AnEntryThatAsksStopsTheCommand) {
    MacroQueue queue = sampleQueue();
    queue[0].valueSource = kValueAsk;
    put("in.gdw", encodeWaveFile(sampleWave(), queue));
    const ToolRun result =
        run("digital expand " + path("in.gdw") + " --finish -o " + path("out.gdw"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Macro Count asks for the value of its cycle 1"), std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.gdw"));
}

TEST_F(DigitalCtlTest, WrongArgumentsShowTheUsage) {
    put("in.gdw", encodeWaveFile(sampleWave(), {}));
    for (const std::string& arguments :
         {std::string("digital"), "digital expand " + path("in.gdw") + " -o " + path("o.gdw"),
          "digital expand " + path("in.gdw") + " --steps 2 --finish -o " + path("o.gdw"),
          "digital expand " + path("in.gdw") + " --steps 2",
          "digital expand " + path("in.gdw") + " --steps -2 -o " + path("o.gdw")}) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments;
        EXPECT_FALSE(result.err.empty());
    }
    const ToolRun missing =
        run("digital expand " + path("none.gdw") + " --steps 1 -o " + path("o.gdw"));
    EXPECT_EQ(missing.err, "Nie je mozne otvorit subor: " + path("none.gdw") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "o.gdw"));
}

TEST_F(DigitalCtlTest, WritesTheWaveAsAValueChangeDump) {
    put("w.gdw", encodeWaveFile(sampleWave(), sampleQueue()));
    ToolRun result = run("digital vcd " + path("w.gdw") + " --frequency 1e6 -o " + path("w.vcd"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const VcdDump dump = readVcd(text(folder / "w.vcd"));
    EXPECT_EQ(dump.timescale, "1us");
    EXPECT_EQ(dump.variables.at(dump.idOf("B")).range, "[1:0]");
    // B is bit 0 on D3 and bit 1 on D2: the words 1, 12, 33 hold 0, 3, 0.
    EXPECT_EQ(dump.valueAt("B", 0), 0);
    EXPECT_EQ(dump.valueAt("B", 1), 3);
    EXPECT_EQ(dump.valueAt("B", 2), 0);
    EXPECT_EQ(dump.valueAt("C", 2), 1);
    EXPECT_EQ(dump.lastTime, 3);

    put("DWave.dat", encodeMainWave(sampleWave()));
    result = run("digital vcd " + path("DWave.dat") + " -o " + path("main.vcd"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readVcd(text(folder / "main.vcd")).timescale, "1ns") << "589824 Hz by default";

    put("other.bin", {1, 2, 3});
    result = run("digital vcd " + path("other.bin") + " -o " + path("x.vcd"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Neplatny subor: " + path("other.bin") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "x.vcd"));
}

}  // namespace
