// End to end: the built q745ctl run as a user runs it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "RecordingMessages.h"
#include "TempFolder.h"
#include "core/ByteStream.h"
#include "core/FileStore.h"
#include "generators/MathParameterBlock.h"
#include "waves/GawFile.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& argument) {
    std::string text = "'";
    for (char c : argument)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

ToolRun q745ctl(const std::vector<std::string>& arguments) {
    TempFolder streams;
    std::string command = quoted(Q745CTL);
    for (const std::string& argument : arguments)
        command += ' ' + quoted(argument);
    command +=
        " >" + quoted((streams / "out").string()) + " 2>" + quoted((streams / "err").string());
    const int status = std::system(command.c_str());
    auto text = [&](const char* name) {
        const auto bytes = readWholeFile(streams / name);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text("out"), text("err")};
}

WaveformRecord imported(const std::filesystem::path& file) {
    RecordingMessages messages;
    WaveformRecord record;
    EXPECT_TRUE(importRecord(record, file, false, messages)) << file;
    return record;
}

}  // namespace

TEST(Tool, EvalPrintsThePlainNumberOrTheMessage) {
    EXPECT_EQ(q745ctl({"eval", "2^3^2"}).out, "512\n");
    EXPECT_EQ(q745ctl({"eval", "x*2", "--allow", "x", "--x", "1,25"}).out, "2.5\n");
    EXPECT_EQ(q745ctl({"eval", "50%", "--allow", "percent"}).out, "8192\n");
    EXPECT_EQ(q745ctl({"eval", "-n^2+y", "--allow", "x,n,y", "--x", "3", "--y", "0.5"}).out,
              "-8.5\n");
    EXPECT_EQ(q745ctl({"eval", "1/3"}).out, "0.333333333333333\n");

    const ToolRun refused = q745ctl({"eval", "x"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "Invalid formula: invalid syntax: x\n");
    EXPECT_EQ(q745ctl({"eval", "1/0"}).err, "Formula not defined for whole range\n");
    EXPECT_EQ(q745ctl({"eval", "1", "--allow", "w"}).exitCode, 1);
}

TEST(Tool, MakePredefinedAndInspect) {
    TempFolder folder;
    const auto file = folder / "sine.gaw";
    ASSERT_EQ(q745ctl({"make", "predefined", "sine", "-o", file.string()}).exitCode, 0);
    WaveformStore store;
    resetPredefined(store, 0);
    EXPECT_EQ(imported(file), store.slots[0]);

    const ToolRun inspected = q745ctl({"inspect", file.string()});
    EXPECT_EQ(inspected.exitCode, 0);
    EXPECT_EQ(inspected.out,
              "{\"name\":\"Sine\",\"imported\":0,\"pointCount\":16384,\"optionsKind\":0,"
              "\"generatorKind\":0,\"paramCount\":0,\"maxSample\":255,\"minSample\":1,"
              "\"peakToPeak\":254,\"meanSample\":128.0,\"harmonicCount\":1}\n");
    const ToolRun withPoints = q745ctl({"inspect", file.string(), "--points"});
    EXPECT_NE(withPoints.out.find(",\"points\":[128,128,128,128,"), std::string::npos);

    EXPECT_EQ(q745ctl({"make", "predefined", "circle", "-o", file.string()}).exitCode, 1);
}

TEST(Tool, MakeFormulaAsTheEditorStoresIt) {
    TempFolder folder;
    const auto file = folder / "ramp.gaw";
    const ToolRun made =
        q745ctl({"make", "formula", "x*y", "--real", "0", "1", "--wave", "0", "50%", "--y", "2",
                 "--no-normalize", "--name", "Ramp", "-o", file.string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const WaveformRecord ramp = imported(file);
    EXPECT_EQ(ramp.name(), "Ramp");
    EXPECT_EQ(ramp.generatorKind, kGeneratorFormula);
    EXPECT_EQ(ramp.optionsKind, kOptionsFormula);
    EXPECT_EQ(ramp.points[0], 1) << "0 limited to 1";
    EXPECT_EQ(ramp.points[8192], 2);
    EXPECT_EQ(ramp.points[8193], 128) << "outside the wave range";
    const MathParameterBlock block = decodeMathParams(ramp.params);
    EXPECT_EQ(block.count, 1);
    EXPECT_FALSE(block.normalize);
    EXPECT_EQ(block.slots[0].formula, "x*y");
    EXPECT_EQ(block.slots[0].waveEnd, "50%");
    EXPECT_EQ(block.constants.yValue, "2");
    EXPECT_TRUE(block.advancedMode) << "an explicit range is added as the advanced mode adds it";

    const auto failed = folder / "failed.gaw";
    const ToolRun undefined = q745ctl({"make", "formula", "1/x", "-o", failed.string()});
    EXPECT_EQ(undefined.exitCode, 1);
    EXPECT_EQ(undefined.err, "Formula: Formula not defined for whole range\n");
    EXPECT_FALSE(std::filesystem::exists(failed));
}

TEST(Tool, MakeFormulaRangeIsCheckedAsTheEditorAddsIt) {
    TempFolder folder;
    const auto file = folder / "checked.gaw";
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"sin(x)", "--wave", "0.5", "16383"},
         "Range conversion: Wave range must be integer value"},
        {{"sin(x)", "--real", "1", "0", "--wave", "0", "2.5"},
         "Range conversion: Wave range must be integer value"},
        {{"sin(x)", "--real", "1", "0", "--wave", "9", "5"},
         "Range conversion: Invalid real range"},
        {{"sin(x)", "--wave", "100", "100"}, "Range conversion: Invalid wave range"},
        {{"sin(x)", "--wave", "1", "16384"}, "Range conversion: Invalid wave range"},
        {{"sin(x)", "--wave", "-1", "10"}, "Range conversion: Invalid wave range"},
        {{"x^0.5", "--real", "-1", "1"}, "Formula checking: Formula not defined for whole range"},
        {{"y", "--y", "q", "--real", "0", "1"},
         "Variables conversion: Invalid formula: invalid syntax: q"},
    };
    for (const auto& [arguments, message] : refused) {
        std::vector<std::string> command = {"make", "formula"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        command.insert(command.end(), {"-o", file.string()});
        const ToolRun run = q745ctl(command);
        EXPECT_EQ(run.exitCode, 1) << message;
        EXPECT_EQ(run.err, message + "\n");
        EXPECT_FALSE(std::filesystem::exists(file)) << message;
    }
    // A formula that begins with "-" needs no "--"; one that begins with "--" follows it.
    ASSERT_EQ(
        q745ctl({"make", "formula", "-x", "--wave", "0", "50%", "-o", file.string()}).exitCode, 0);
    EXPECT_EQ(imported(file).points[0], 255);
    EXPECT_EQ(q745ctl({"eval", "--", "--3"}).out, "3\n");
}

TEST(Tool, HelpPerCommandAndUsageMistakes) {
    const ToolRun help = q745ctl({"make", "formula", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--wave START END"), std::string::npos) << help.out;
    EXPECT_NE(q745ctl({"help"}).out.find("--digital-outputs"), std::string::npos);

    const ToolRun unknown = q745ctl({"eval", "1", "--3"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("--3"), std::string::npos);
    EXPECT_NE(unknown.err.find("'q745ctl eval --help'"), std::string::npos) << unknown.err;
    EXPECT_EQ(q745ctl({"make", "predefined", "sine"}).exitCode, 1) << "no -o";
    EXPECT_EQ(q745ctl({"make", "square", "--low", "101", "-o", "x.gaw"}).exitCode, 1);
}

TEST(Tool, MakeSquare) {
    TempFolder folder;
    const auto file = folder / "square.gaw";
    ASSERT_EQ(q745ctl({"make", "square", "--low", "25", "-o", file.string()}).exitCode, 0);
    const WaveformRecord square = imported(file);
    EXPECT_EQ(square.name(), "Square");
    EXPECT_EQ(square.optionsKind, kOptionsSquare);
    EXPECT_EQ(std::count(square.points.begin(), square.points.end(), 1), 4096);
    EXPECT_EQ(square.params, (std::vector<std::uint8_t>{25, 0, 0, 0, 75, 0, 0, 0}));
    EXPECT_EQ(q745ctl({"make", "square", "--low", "2.5", "-o", file.string()}).exitCode, 1);
}

TEST(Tool, InspectStoreFiles) {
    TempFolder folder;
    WaveformStore store;
    resetPredefined(store, 0);
    store.importedB = untitledWaveform();
    store.importedB.setName("Pila \xe9\"1\"");  // Latin-1, as the files hold names
    RecordingMessages messages;
    ASSERT_TRUE(saveStore(store, folder.path(), messages));
    const ToolRun inspected = q745ctl({"inspect", (folder / "Waves.dat").string()});
    ASSERT_EQ(inspected.exitCode, 0) << inspected.err;
    EXPECT_TRUE(inspected.out.starts_with(
        "{\"header\":\"Main waveforms file 2\",\"slots\":[{\"name\":\"Sine\","));
    EXPECT_NE(inspected.out.find("\"importedA\":{\"name\":\"\",\"imported\":0,\"pointCount\":0"),
              std::string::npos);
    EXPECT_NE(inspected.out.find("\"importedB\":{\"name\":\"Pila \\u00e9\\\"1\\\"\""),
              std::string::npos)
        << inspected.out;

    // The old form has no imported records.
    std::vector<std::uint8_t> old = *readWholeFile(folder / "Waves.dat");
    ByteWriter imported;
    writeRecord(imported, store.importedA);
    writeRecord(imported, store.importedB);
    old.resize(old.size() - imported.size());
    old.erase(old.begin(), old.begin() + 4 + 21);
    const std::string oldHeader = "Main waveforms file";
    ByteWriter header;
    writeString(header, oldHeader);
    old.insert(old.begin(), header.bytes().begin(), header.bytes().end());
    ASSERT_TRUE(writeWholeFile(folder / "old.dat", old));
    const ToolRun oldInspected = q745ctl({"inspect", (folder / "old.dat").string()});
    ASSERT_EQ(oldInspected.exitCode, 0) << oldInspected.err;
    EXPECT_TRUE(oldInspected.out.ends_with("\"importedA\":null,\"importedB\":null}\n"));

    old.resize(old.size() / 2);
    ASSERT_TRUE(writeWholeFile(folder / "damaged.dat", old));
    const ToolRun damaged = q745ctl({"inspect", (folder / "damaged.dat").string()});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.err, "Neplatny subor: " + (folder / "damaged.dat").string() + "\n");
}

// Devices, FIFOs and folders are refused at once; a record named like another file's tag is
// still a ".gaw"; an output never costs the operator a file or a folder.
TEST(Tool, HostileInputsAndOutputs) {
    TempFolder folder;
    const std::string fifo = (folder / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string out = (folder / "out.gaw").string();
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"inspect", "/dev/zero"},
          {"inspect", fifo},
          {"period", "/dev/zero"},
          {"convert", "scope", fifo, "-o", out},
          {"convert", "ascii", "/dev/zero", "-o", out},
          {"convert", "ascii", folder.path().string(), "-o", out},
          {"digital", "expand", fifo, "--finish", "-o", (folder / "out.gdw").string()}}) {
        const ToolRun run = q745ctl(command);
        EXPECT_EQ(run.exitCode, 1) << command[0] << ' ' << command[1] << run.err;
    }
    EXPECT_EQ(q745ctl({"inspect", fifo}).err, "Nie je mozne otvorit subor: " + fifo + "\n");

    RecordingMessages messages;
    for (const char* tag : {"Macro", "Digital wave", "Main waveforms file 2", "Digital macros file",
                            "Main digital wave file"}) {
        WaveformRecord record;
        record.setName(tag);
        record.points = {1, 2, 3};
        ASSERT_TRUE(exportRecord(record, folder / "tag.gaw", messages));
        const ToolRun inspected = q745ctl({"inspect", (folder / "tag.gaw").string()});
        EXPECT_EQ(inspected.exitCode, 0) << tag << inspected.err;
        EXPECT_TRUE(inspected.out.starts_with("{\"name\":\"" + std::string(tag) + "\""));
    }

    std::filesystem::create_directory(folder / "empty");
    EXPECT_EQ(q745ctl({"make", "predefined", "sine", "-o", (folder / "empty").string()}).exitCode,
              1);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "empty"));
    ASSERT_TRUE(writeWholeFile(folder / "out.gaw.tmp", std::vector<std::uint8_t>{'m'}));
    EXPECT_EQ(q745ctl({"make", "predefined", "sine", "-o", out}).exitCode, 0);
    EXPECT_EQ(readWholeFile(folder / "out.gaw.tmp"), std::vector<std::uint8_t>{'m'});
}
