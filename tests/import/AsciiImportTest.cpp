#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <random>

#include "RecordingMessages.h"
#include "RecordingProgress.h"
#include "TestFolder.h"
#include "import/ASCIIOperations.h"
#include "import/AsciiWaveform.h"

namespace {

const std::string kNonAsciiQuestion =
    "Subor obsahuje znaky, ktore nie su ASCII. Chcete pokracovat ?";

struct Loaded {
    std::int64_t result;
    std::vector<double> values;
    std::vector<std::string> messages;
};

class AsciiImport : public testing::Test {
protected:
    AsciiAnalysis analyse(const std::string& content) {
        return Analyse(folder.write("data.txt", content), messages, progress);
    }

    Loaded load(const std::string& content, bool real, char separator = '.',
                AsciiReadMode mode = AsciiReadMode::All) {
        RecordingMessages loadMessages;
        RecordingProgress loadProgress;
        Loaded loaded;
        loaded.result = Load(folder.write("data.txt", content), {real, separator, mode},
                             loaded.values, loadMessages, loadProgress);
        loaded.messages = loadMessages.texts();
        return loaded;
    }

    TestFolder folder;
    RecordingMessages messages;
    RecordingProgress progress;
};

using Values = std::vector<double>;

}  // namespace

TEST_F(AsciiImport, HeaderLineAndTwoColumns) {
    const std::string text = "time,value\r\n0,1.5\r\n1,2.5\r\n";
    Loaded all = load(text, true, '.');
    EXPECT_EQ(all.result, 4);
    EXPECT_EQ(all.values, (Values{0, 1.5, 1, 2.5}));
    Loaded even = load(text, true, '.', AsciiReadMode::Even);
    EXPECT_EQ(even.result, 2);
    EXPECT_EQ(even.values, (Values{1.5, 2.5}));
    Loaded odd = load(text, true, '.', AsciiReadMode::Odd);
    EXPECT_EQ(odd.values, (Values{0, 1}));
}

TEST_F(AsciiImport, AnalysisLetsThePointWinWhenBothSeparatorsQualify) {
    AsciiAnalysis guess = analyse("time,value\r\n0,1.5\r\n1,2.5\r\n");
    EXPECT_EQ(guess.code, AnalyseCode::Guessed);
    EXPECT_TRUE(guess.realNumbers);
    EXPECT_EQ(guess.separator, '.');
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(AsciiImport, AnalysisGuesses) {
    AsciiAnalysis comma = analyse("1,5;2,5\n");
    EXPECT_EQ(comma.code, AnalyseCode::Guessed);
    EXPECT_TRUE(comma.realNumbers);
    EXPECT_EQ(comma.separator, ',');

    AsciiAnalysis integers = analyse("1 2 3\n4 5 6\n");
    EXPECT_EQ(integers.code, AnalyseCode::Guessed);
    EXPECT_FALSE(integers.realNumbers);

    // A point outside a number (".5") disqualifies it for the whole file.
    AsciiAnalysis pointOutside = analyse("1.5\n2 .5\n");
    EXPECT_FALSE(pointOutside.realNumbers);
    // So do a second separator in one number and a separator not followed by a digit.
    EXPECT_FALSE(analyse("1.5.5\n").realNumbers);
    EXPECT_FALSE(analyse("1.5 2.\n").realNumbers);
    EXPECT_FALSE(analyse("1.5 2.x\n").realNumbers);
    // A decimal number that ends the file without a line end counts.
    AsciiAnalysis lastLine = analyse("1.5");
    EXPECT_EQ(lastLine.code, AnalyseCode::Guessed);
    EXPECT_TRUE(lastLine.realNumbers);
}

TEST_F(AsciiImport, AnalysisCodes) {
    EXPECT_EQ(Analyse(folder.path() / "missing.txt", messages, progress).code,
              AnalyseCode::CannotOpen);
    EXPECT_EQ(Analyse(folder.path(), messages, progress).code, AnalyseCode::CannotOpen);
    EXPECT_EQ(analyse("").code, AnalyseCode::NoNumbers);
    EXPECT_EQ(analyse("Voltage\nno numbers here 12\n").code, AnalyseCode::NoNumbers);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(AsciiImport, NonAsciiQuestionIsAskedOnceAndNoAbandons) {
    messages.answers = {MessageResult::Yes};
    AsciiAnalysis yes = analyse("1 \xE9 2 \xE9\n3.5\n");
    EXPECT_EQ(yes.code, AnalyseCode::Guessed);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kNonAsciiQuestion});
    EXPECT_EQ(messages.calls[0].buttons, MessageButtons::YesNo);

    messages.calls.clear();
    messages.answers = {MessageResult::No};
    EXPECT_EQ(analyse("1 \x01\n").code, AnalyseCode::Abandoned);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kNonAsciiQuestion});
}

TEST_F(AsciiImport, NonAsciiInSkippedLinesIsNotAsked) {
    AsciiAnalysis guess = analyse("Napatie \xE9\xE8\n1\n");
    EXPECT_EQ(guess.code, AnalyseCode::Guessed);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(AsciiImport, AnalysisProgressAndBreak) {
    std::string big;
    while (big.size() < 200000)
        big += "12.5\n";
    AsciiAnalysis guess = analyse(big);
    EXPECT_EQ(guess.code, AnalyseCode::Guessed);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Analyzing file ..."});
    EXPECT_EQ(progress.maximum, static_cast<std::int64_t>(big.size()));
    EXPECT_TRUE(progress.breakAllowed);
    EXPECT_TRUE(progress.finished);

    RecordingProgress breaking;
    breaking.breakAt = 1;
    EXPECT_EQ(Analyse(folder.write("big.txt", big), messages, breaking).code,
              AnalyseCode::Abandoned);
}

TEST_F(AsciiImport, SeparatorDecidesHowNumbersSplit) {
    EXPECT_EQ(load("1,5;2,5", true, ',').values, (Values{1.5, 2.5}));
    EXPECT_EQ(load("1,5;2,5", false).values, (Values{1, 5, 2, 5}));
    // Without real numbers a point splits a number as well.
    EXPECT_EQ(load("3.25\n", false).values, (Values{3, 25}));
    // A token that starts with the separator gets a leading 0.
    EXPECT_EQ(load("1 ,5\n", true, ',').values, (Values{1, 0.5}));
}

TEST_F(AsciiImport, Exponents) {
    EXPECT_EQ(load("1e3\n", true).values, (Values{1000}));
    Loaded small = load("1.5e-2 -2E+1 0e999 1e-400\n", true);
    ASSERT_EQ(small.values.size(), 4u);
    EXPECT_DOUBLE_EQ(small.values[0], 0.015);
    EXPECT_EQ(small.values[1], -20);
    EXPECT_EQ(small.values[2], 0);
    EXPECT_EQ(small.values[3], 0);
}

TEST_F(AsciiImport, BadNumbersAreReportedWithTheToken) {
    Loaded minus = load("1 1-2 3\n", true);
    EXPECT_EQ(minus.result, kLoadBadNumber);
    EXPECT_TRUE(minus.values.empty());
    EXPECT_EQ(minus.messages, std::vector<std::string>{"Zle cislo v ASCII subore: 1-2"});
    // The token is shown as written in the file.
    EXPECT_EQ(load("1,5e\n", true, ',').messages,
              std::vector<std::string>{"Zle cislo v ASCII subore: 1,5e"});
    EXPECT_EQ(load("1e400\n", true).result, kLoadBadNumber);
    EXPECT_EQ(load("1e99999999999\n", true).result, kLoadBadNumber);
    EXPECT_EQ(load("e5\n", true).result, kLoadBadNumber);
    EXPECT_EQ(load("5 +\n", true).result, kLoadBadNumber);
    // A value that is filtered out is still read.
    EXPECT_EQ(load("1 x-x 2\n", true, '.', AsciiReadMode::Odd).result, kLoadBadNumber);
    Loaded huge = load(std::string(5000, '7') + "\n", true);
    EXPECT_EQ(huge.result, kLoadBadNumber);
    ASSERT_EQ(huge.messages.size(), 1u);
    EXPECT_LT(huge.messages[0].size(), 100u);
}

TEST_F(AsciiImport, SkippedAndIndentedLines) {
    EXPECT_EQ(load("Voltage\n  -3\n\t+4 5\n# 6\n\n\r\n7", true).values, (Values{-3, 4, 5, 7}));
    // A line is judged by its first character, so ".5" at the start of a line is skipped.
    EXPECT_EQ(load(".5\n1\n", true).values, (Values{1}));
}

TEST_F(AsciiImport, LoadResults) {
    RecordingProgress loadProgress;
    std::vector<double> values{9};
    EXPECT_EQ(Load(folder.path() / "missing.txt", {}, values, messages, loadProgress),
              kLoadCannotOpen);
    EXPECT_TRUE(values.empty());
    // Neither a folder nor a FIFO is read; nothing waits, and no progress starts.
    const std::filesystem::path fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::filesystem::path& other : {folder.path(), fifo}) {
        EXPECT_EQ(Load(other, {}, values, messages, loadProgress), kLoadCannotOpen);
        EXPECT_EQ(Analyse(other, messages, loadProgress).code, AnalyseCode::CannotOpen);
    }
    EXPECT_EQ(loadProgress.starts, 0);
    EXPECT_EQ(load("Voltage\n", true).result, 0);
    EXPECT_EQ(load("", true).result, 0);
}

TEST_F(AsciiImport, LoadProgressRunsTwoPasses) {
    std::string big;
    for (int i = 0; i < 40000; ++i)
        big += std::to_string(i) + "\n";
    const auto file = folder.write("big.txt", big);
    RecordingProgress loadProgress;
    std::vector<double> values;
    EXPECT_EQ(Load(file, {}, values, messages, loadProgress), 40000);
    EXPECT_EQ(values.back(), 39999);
    EXPECT_EQ(loadProgress.captions, std::vector<std::string>{"Loading file ..."});
    EXPECT_EQ(loadProgress.maximum, 2 * static_cast<std::int64_t>(big.size()));
    EXPECT_EQ(loadProgress.position, loadProgress.maximum);
    EXPECT_TRUE(loadProgress.finished);

    RecordingProgress breaking;
    breaking.breakAt = static_cast<std::int64_t>(big.size()) + 1;
    EXPECT_EQ(Load(file, {}, values, messages, breaking), kLoadBrokenOff);
    EXPECT_TRUE(values.empty());
}

TEST(AsciiSamples, NormalisationStretchesOverOneTo255) {
    const Values values{-1, 0, 1, 0.5};
    AsciiSamples samples = samplesFromValues(values, true);
    EXPECT_EQ(samples.points, (std::vector<std::uint8_t>{1, 128, 255, 192}));
    EXPECT_EQ(samples.maximum, 1);
    EXPECT_EQ(samples.minimum, -1);
}

TEST(AsciiSamples, EqualValuesGive128) {
    const Values values{3.3, 3.3, 3.3};
    EXPECT_EQ(samplesFromValues(values, true).points, (std::vector<std::uint8_t>{128, 128, 128}));
}

TEST(AsciiSamples, WithoutNormalisationValuesAreRoundedAndLimited) {
    const Values values{-5, 0, 2.5, 3.5, 127.4, 300, 1e300};
    EXPECT_EQ(samplesFromValues(values, false).points,
              (std::vector<std::uint8_t>{0, 0, 2, 4, 127, 255, 255}));
}

// Ranges beyond the largest double and ranges of the smallest doubles are stretched as others.
TEST(AsciiSamples, ExtremeValuesAreNormalisedLikeOthers) {
    const std::vector<std::uint8_t> stretched{1, 255, 128};
    EXPECT_EQ(samplesFromValues(Values{-1.7e308, 1.7e308, 0}, true).points, stretched);
    EXPECT_EQ(samplesFromValues(Values{-4.9e-324, 4.9e-324, 0}, true).points, stretched);
    EXPECT_EQ(samplesFromValues(Values{1e17, 1e17 + 512, 1e17 + 256}, true).points, stretched);
}

TEST(AsciiLevelAndShift, VoltsAndMillivolts) {
    AsciiSamples volts;
    volts.maximum = 2;
    volts.minimum = -2;
    EXPECT_DOUBLE_EQ(asciiAmplitudeMillivolts(volts, false), 4000);
    // centred on 0 V
    EXPECT_EQ(asciiShiftCode(volts, false, false), 2048);
    AsciiSamples millivolts;
    millivolts.maximum = 1000;
    millivolts.minimum = 0;
    EXPECT_DOUBLE_EQ(asciiAmplitudeMillivolts(millivolts, true), 1000);
    // centre 0.5 V: 2048 + 0.5 * 512
    EXPECT_EQ(asciiShiftCode(millivolts, true, false), 2304);
    // on the -20 dB path the shift is taken ten times larger
    AsciiSamples small;
    small.maximum = 100;
    small.minimum = 0;
    EXPECT_EQ(asciiShiftCode(small, true, false), 2074);
    EXPECT_EQ(asciiShiftCode(small, true, true), 2304);
}

TEST(AsciiLevelAndShift, ShiftIsLimited) {
    AsciiSamples high;
    high.maximum = 100;
    high.minimum = 90;
    EXPECT_EQ(asciiShiftCode(high, false, false), 4096);
    AsciiSamples low;
    low.maximum = -90;
    low.minimum = -100;
    EXPECT_EQ(asciiShiftCode(low, false, false), 0);
    AsciiSamples absurd;
    absurd.maximum = 1.7e308;
    absurd.minimum = -1.7e308;
    const std::int32_t code = asciiShiftCode(absurd, false, true);
    EXPECT_GE(code, 0);
    EXPECT_LE(code, 4096);
}

TEST_F(AsciiImport, ReloadConvertsAndEnablesOk) {
    const auto file = folder.write("a.txt", "1\n2\n3\n");
    AsciiWork work;
    reloadAscii(file, {false, ",", AsciiReadMode::All, true}, work, messages, progress);
    EXPECT_TRUE(work.okEnabled);
    EXPECT_EQ(work.samples.points, (std::vector<std::uint8_t>{1, 128, 255}));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(AsciiImport, ReloadFailures) {
    const auto good = folder.write("good.txt", "1\n2\n");
    AsciiWork work;
    reloadAscii(good, {true, "", AsciiReadMode::All, true}, work, messages, progress);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Vyplnte, prosim, desatinnu ciarku (decimal separator)"});
    EXPECT_FALSE(work.okEnabled);

    // A bad number before anything was loaded leaves nothing to take.
    messages.calls.clear();
    const auto bad = folder.write("bad.txt", "1-2\n");
    reloadAscii(bad, {true, ".", AsciiReadMode::All, true}, work, messages, progress);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Zle cislo v ASCII subore: 1-2",
                                                          "Nie je mozne otvorit subor."}));
    EXPECT_EQ(messages.calls[1].kind, MessageKind::Information);
    EXPECT_FALSE(work.okEnabled);

    // After a good load a failed one keeps the samples.
    reloadAscii(good, {false, ",", AsciiReadMode::All, true}, work, messages, progress);
    reloadAscii(bad, {true, ".", AsciiReadMode::All, true}, work, messages, progress);
    EXPECT_TRUE(work.okEnabled);
    EXPECT_EQ(work.samples.points.size(), 2u);

    // No values: the samples are dropped.
    messages.calls.clear();
    reloadAscii(folder.write("none.txt", "Voltage\n"), {false, ",", AsciiReadMode::All, true}, work,
                messages, progress);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne citat ASCII subor."});
    EXPECT_EQ(messages.calls[0].kind, MessageKind::Error);
    EXPECT_FALSE(work.okEnabled);
    EXPECT_TRUE(work.samples.points.empty());
}

TEST_F(AsciiImport, ReloadRefusesMoreValuesThanTheGeneratorHolds) {
    std::string text;
    for (std::int64_t i = 0; i <= kMaxRecordPointCount; ++i)
        text += "1\n";
    AsciiWork work;
    reloadAscii(folder.write("long.txt", text), {false, ",", AsciiReadMode::All, true}, work,
                messages, progress);
    EXPECT_EQ(messages.calls.size(), 1u);
    EXPECT_FALSE(work.okEnabled);
    reloadAscii(folder.write("long.txt", text), {false, ",", AsciiReadMode::Odd, true}, work,
                messages, progress);
    EXPECT_TRUE(work.okEnabled);
    EXPECT_EQ(work.samples.points.size(), static_cast<std::size_t>(kMaxRecordPointCount / 2 + 1));
}

TEST_F(AsciiImport, ValuesBeyondTheLimitAreOnlyCounted) {
    const auto file = folder.write("many.txt", "1 2 3 4 5\n");
    std::vector<double> values;
    EXPECT_EQ(Load(file, {}, values, messages, progress, 4), 5);
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(Load(file, {}, values, messages, progress, 5), 5);
    EXPECT_EQ(values.size(), 5u);
    // A bad number is still found.
    EXPECT_EQ(Load(folder.write("bad.txt", "1 2 3 4 5 6-\n"), {}, values, messages, progress, 2),
              kLoadBadNumber);
}

TEST_F(AsciiImport, RandomTextNeverBreaksTheReader) {
    std::mt19937 random(99);
    const std::string alphabet = "0123456789eE+-.,; \t\r\n\n\xE9x";
    for (int round = 0; round < 150; ++round) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 200)(random);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        const auto file = folder.write("random.txt", text);
        const AsciiOptions options{round % 2 == 0, round % 3 == 0 ? '.' : ',',
                                   static_cast<AsciiReadMode>(round % 3)};
        std::vector<double> values;
        RecordingMessages loadMessages;
        const std::int64_t count = Load(file, options, values, loadMessages, progress);
        if (count == kLoadBadNumber) {
            ASSERT_EQ(loadMessages.calls.size(), 1u);
            ASSERT_TRUE(values.empty());
        } else {
            ASSERT_GE(count, 0);
            ASSERT_EQ(values.size(), static_cast<std::size_t>(count));
            for (double value : values)
                ASSERT_TRUE(std::isfinite(value));
            ASSERT_TRUE(loadMessages.calls.empty());
        }
        messages.answers = {round % 2 == 0 ? MessageResult::Yes : MessageResult::No};
        (void)Analyse(file, messages, progress);
    }
}
