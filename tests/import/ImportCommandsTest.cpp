#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

#include "core/FileStore.h"
#include "ScopeFileBuilders.h"
#include "TestFolder.h"
#include "waves/GawFile.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

std::string readText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class ImportCommands : public testing::Test {
protected:
    ToolRun q745ctl(const std::string& arguments) {
        const auto out = folder.path() / "stdout.txt";
        const auto err = folder.path() / "stderr.txt";
        const std::string command = "cd '" + folder.path().string() + "' && '" + Q745CTL + "' " +
                                    arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
    }

    WaveformRecord gaw(const std::string& name) {
        std::optional<std::vector<std::uint8_t>> content = readWholeFile(folder.path() / name);
        EXPECT_TRUE(content.has_value()) << name;
        return content ? decodeGaw(*content) : WaveformRecord();
    }

    TestFolder folder;
};

std::vector<int> sineSamples(int count, int period, int amplitude = 100) {
    std::vector<int> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(
            static_cast<int>(std::nearbyint(128 + amplitude * std::sin(2 * M_PI * i / period))));
    return samples;
}

std::vector<std::uint8_t> asBytes(const std::vector<int>& values) {
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

}  // namespace

TEST_F(ImportCommands, InspectBothScopeFormats) {
    folder.write("r210.txt",
                 r210Text("DeviceType: 213\r\nTimeBaseValue: 5\r\nDensityChannelA: 3\r\n"
                          "GroundChannelA: 127,5\r\n",
                          {10, 300, 12}, {}));
    ToolRun r210 = q745ctl("inspect r210.txt --points");
    EXPECT_EQ(r210.exitCode, 0) << r210.err;
    EXPECT_EQ(r210.out,
              "{\"kind\":\"oscilloscope data\",\"format\":\"R210\",\"channelCount\":1,"
              "\"firstChannel\":\"A\",\"sampleRate\":250000000.0,\"deviceType\":213,\"timeBase\":5,"
              "\"channels\":[{\"channel\":\"A\",\"length\":3,\"rangeMillivolts\":800.0,"
              "\"ground\":127.5,\"shiftCode\":2049,\"points\":[10,44,12]}]}\n");

    folder.write("scope.bin", q726Bytes(kQ726Header, {1, 2}, {3, 4, 5}));
    ToolRun q726 = q745ctl("inspect scope.bin");
    EXPECT_EQ(q726.exitCode, 0) << q726.err;
    EXPECT_EQ(q726.out,
              "{\"kind\":\"oscilloscope data\",\"format\":\"Q726\",\"channelCount\":2,"
              "\"firstChannel\":\"A\",\"sampleRate\":10000000.0,\"channels\":["
              "{\"channel\":\"A\",\"length\":2,\"rangeMillivolts\":800.0,\"ground\":128.0,"
              "\"shiftCode\":2048},{\"channel\":\"B\",\"length\":3,\"rangeMillivolts\":40000.0,"
              "\"ground\":128.0,\"shiftCode\":2048}]}\n");
}

TEST_F(ImportCommands, InspectRefusesAnInvalidScopeFile) {
    folder.write("bad.txt", r210Text("", {1, 2}, {3}));
    ToolRun bad = q745ctl("inspect bad.txt");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "Neplatny subor: bad.txt\n");
    folder.write("cut.bin", q726Bytes(kQ726Header, {1}, {2}, ""));
    EXPECT_EQ(q745ctl("inspect cut.bin").err, "Neplatny subor: cut.bin\n");
}

TEST_F(ImportCommands, PeriodOfEachChannel) {
    folder.write("two.txt", r210Text("", sineSamples(1000, 100), sineSamples(1000, 125)));
    ToolRun a = q745ctl("period two.txt");
    EXPECT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(a.out, "Channel A: period 100 points\n");
    EXPECT_EQ(q745ctl("period two.txt --channel B").out, "Channel B: period 125 points\n");

    // Channel A without a period: as the dialog, channel B is searched next.
    std::vector<int> lonely(1000, 100);
    lonely[0] = 250;
    folder.write("lonely.txt", r210Text("", lonely, sineSamples(1000, 125)));
    EXPECT_EQ(q745ctl("period lonely.txt").out,
              "Channel A: no period found\nChannel B: period 125 points\n");
    ToolRun onlyB = q745ctl("period lonely.txt --channel A");
    EXPECT_EQ(onlyB.exitCode, 0);
    EXPECT_EQ(onlyB.out, "Channel A: no period found\n");
}

TEST_F(ImportCommands, PeriodOfAMissingChannelOrFile) {
    folder.write("a.txt", r210Text("", sineSamples(300, 100), {}));
    ToolRun missing = q745ctl("period a.txt --channel B");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "The file has no channel B\n");
    EXPECT_EQ(q745ctl("period nothing.txt").err, "Neplatny subor: nothing.txt\n");
    EXPECT_EQ(q745ctl("period a.txt --channel C").exitCode, 1);
}

TEST_F(ImportCommands, ConvertScopeByPeriodCursorsOrWhole) {
    folder.write("scope.bin", q726Bytes(kQ726Header, asBytes(sineSamples(500, 100)),
                                        asBytes(sineSamples(500, 20))));
    // One whole period, so that it replays at the recorded frequency.
    ToolRun byPeriod = q745ctl("convert scope scope.bin --channel B --period -o b");
    EXPECT_EQ(byPeriod.exitCode, 0) << byPeriod.err;
    EXPECT_EQ(byPeriod.out,
              "Channel B: 20 points, sample rate 1e+07 Hz, range 40000 mV, shift code 2048\n");
    WaveformRecord b = gaw("b.gaw");
    EXPECT_EQ(b.name(), "scope");
    EXPECT_EQ(b.imported, 1);
    EXPECT_EQ(b.points, std::vector<std::uint8_t>(asBytes(sineSamples(20, 20))));
    EXPECT_EQ(b.maxSample, *std::max_element(b.points.begin(), b.points.end()));
    EXPECT_EQ(q745ctl("convert scope scope.bin --period -o period.gaw").exitCode, 0);
    EXPECT_EQ(gaw("period.gaw").points, asBytes(sineSamples(100, 100)));

    ToolRun cursors = q745ctl("convert scope scope.bin --from 30 --to 10 -o a.gaw");
    EXPECT_EQ(cursors.exitCode, 0) << cursors.err;
    WaveformRecord a = gaw("a.gaw");
    const std::vector<int> full = sineSamples(500, 100);
    EXPECT_EQ(a.points, asBytes(std::vector<int>(full.begin() + 10, full.begin() + 29)));

    EXPECT_EQ(q745ctl("convert scope scope.bin -o whole.gaw").exitCode, 0);
    EXPECT_EQ(gaw("whole.gaw").pointCount(), 499);
    EXPECT_EQ(q745ctl("convert scope scope.bin --from 0 --to 501 -o all.gaw").exitCode, 0);
    EXPECT_EQ(gaw("all.gaw").points, asBytes(full));
}

TEST_F(ImportCommands, ConvertScopeRefusals) {
    folder.write("a.txt", r210Text("", sineSamples(300, 100), {}));
    ToolRun empty = q745ctl("convert scope a.txt --from 5 --to 6 -o x.gaw");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "Velkost periody musi byt nenulova\n");
    EXPECT_EQ(q745ctl("convert scope a.txt --from 5 --to 302 -o x.gaw").exitCode, 1);
    EXPECT_EQ(q745ctl("convert scope a.txt --from -1 --to 20 -o x.gaw").exitCode, 1);
    EXPECT_EQ(q745ctl("convert scope a.txt --from 1 -o x.gaw").exitCode, 1);
    std::vector<int> lonely(300, 100);
    lonely[0] = 250;
    folder.write("lonely.txt", r210Text("", lonely, {}));
    ToolRun none = q745ctl("convert scope lonely.txt --period -o x.gaw");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "No period found on channel A\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.gaw"));
}

TEST_F(ImportCommands, ConvertAsciiGuessesTheNumbers) {
    folder.write("data.txt", "time,value\n0,1.5\n1,2.5\n");
    ToolRun guessed = q745ctl("convert ascii data.txt --read even -o values");
    EXPECT_EQ(guessed.exitCode, 0) << guessed.err;
    EXPECT_EQ(guessed.out, "2 points from values 1.5 to 2.5 (real numbers, separator .)\n");
    EXPECT_EQ(gaw("values.gaw").points, (std::vector<std::uint8_t>{1, 255}));

    ToolRun integers = q745ctl("convert ascii data.txt --integers --no-normalize -o whole.gaw");
    EXPECT_EQ(integers.exitCode, 0) << integers.err;
    EXPECT_EQ(gaw("whole.gaw").points, (std::vector<std::uint8_t>{0, 1, 5, 1, 2, 5}));

    folder.write("comma.txt", "1,5;2,5;3,5\n");
    ToolRun comma = q745ctl("convert ascii comma.txt --separator , -o comma.gaw");
    EXPECT_EQ(comma.exitCode, 0) << comma.err;
    EXPECT_EQ(gaw("comma.gaw").points, (std::vector<std::uint8_t>{1, 128, 255}));
    EXPECT_EQ(q745ctl("convert ascii comma.txt --real -o comma2.gaw").out,
              "3 points from values 1.5 to 3.5 (real numbers, separator ,)\n");
}

TEST_F(ImportCommands, ConvertAsciiRefusals) {
    folder.write("words.txt", "Voltage\nno numbers\n");
    ToolRun words = q745ctl("convert ascii words.txt -o x.gaw");
    EXPECT_EQ(words.exitCode, 1);
    EXPECT_EQ(words.err,
              "Nie je mozne zistit parametre ASCII suboru.\nNastavte ich, prosim, rucne.\n");
    EXPECT_EQ(q745ctl("convert ascii words.txt --integers -o x.gaw").err,
              "Nie je mozne citat ASCII subor.\n");
    folder.write("bad.txt", "1 1-2\n");
    EXPECT_EQ(q745ctl("convert ascii bad.txt -o x.gaw").err,
              "Zle cislo v ASCII subore: 1-2\nNie je mozne otvorit subor.\n");
    EXPECT_EQ(q745ctl("convert ascii missing.txt -o x.gaw").err, "Nie je mozne otvorit subor.\n");
    EXPECT_EQ(q745ctl("convert ascii bad.txt --separator ab -o x.gaw").exitCode, 1);
    EXPECT_EQ(q745ctl("convert ascii bad.txt --integers --real -o x.gaw").exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.gaw"));
}

TEST_F(ImportCommands, NonAsciiFileIsConvertedAfterTheQuestion) {
    folder.write("latin.txt", "1 \xE9 2\n3\n");
    ToolRun run = q745ctl("convert ascii latin.txt -o l.gaw");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "Subor obsahuje znaky, ktore nie su ASCII. Chcete pokracovat ? Yes\n");
    EXPECT_EQ(gaw("l.gaw").pointCount(), 3);
}
