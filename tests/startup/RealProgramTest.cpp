// The program Q745 itself, started as the operator starts it: offscreen, in a start directory
// of its own, on the virtual instrument, its message boxes answered and logged by the test
// script (Q745_TEST_LOG).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <memory>

#include "../waves/TempFolder.h"

namespace {

constexpr int StartTimeoutMs = 30000;

// One start directory, one folder of markers, and the logs.
class Installation {
public:
    Installation() {
        ::chmod(markers.path().c_str(), 0700);
        for (const char* name : {"Settings.dat", "Waves.dat", "DWave.dat", "DMacros.dat"})
            std::filesystem::copy_file(std::filesystem::path(Q745_DEFAULT_FILES) / name,
                                       data / name);
    }

    void setInterfaceMode(int mode) {
        QFile file(QString::fromStdString((data / "Settings.dat").string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        text.replace("Interface mode = 1", "Interface mode = " + QByteArray::number(mode));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    // Starts a copy of the program; its test log is log + the copy's number.
    std::unique_ptr<QProcess> start(int copy = 0) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(markers.path().string()));
        environment.insert("Q745_TEST_LOG", logPath(copy));
        environment.insert("Q745_VIRTUAL_INSTRUMENT", "parallel:0");
        environment.insert("Q745_VIRTUAL_INSTRUMENT_LOG", instrumentLogPath(copy));
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(QString::fromStdString(data.path().string()));
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(Q745_PROGRAM, {});
        return process;
    }

    QString logPath(int copy) const {
        return QString::fromStdString((logs / ("test" + std::to_string(copy) + ".log")).string());
    }
    QString instrumentLogPath(int copy) const {
        return QString::fromStdString(
            (logs / ("instrument" + std::to_string(copy) + ".log")).string());
    }
    QStringList logLines(int copy) const { return readLines(logPath(copy)); }

    bool waitForLine(int copy, const QString& line) const {
        return QTest::qWaitFor([&] { return logLines(copy).contains(line); }, StartTimeoutMs);
    }

    // The instrument's decoded state when the copy ended.
    QJsonObject finalInstrument(int copy) const {
        for (const QString& line : readLines(instrumentLogPath(copy))) {
            const QJsonObject event = QJsonDocument::fromJson(line.toUtf8()).object();
            if (event.value("event").toString() == "final")
                return event.value("state")
                    .toObject()
                    .value("instruments")
                    .toArray()
                    .at(0)
                    .toObject();
        }
        return {};
    }

    static QStringList readLines(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    TempFolder data;
    TempFolder markers;
    TempFolder logs;
};

// Ends a copy as the session's end does, and waits for it.
void terminate(QProcess& process) {
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(StartTimeoutMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

QStringList messagesOf(const QStringList& lines) {
    QStringList messages;
    for (const QString& line : lines)
        if (line.startsWith("message\t")) messages << line;
    return messages;
}

}  // namespace

TEST(RealProgramTest, AnalogModeIsAppliedAndTheFilesAreWrittenAtTheSessionsEnd) {
    Installation installation;
    const auto shippedWaves = std::filesystem::file_size(installation.data / "Waves.dat");
    auto program = installation.start();
    ASSERT_TRUE(installation.waitForLine(0, "event\tmain window shown"));
    terminate(*program);

    const QStringList lines = installation.logLines(0);
    EXPECT_TRUE(messagesOf(lines).isEmpty()) << "a new installation is silent";
    EXPECT_TRUE(lines.contains("event\tmode 1 applied"));
    EXPECT_TRUE(lines.contains("event\ttermination signal"));
    EXPECT_TRUE(lines.contains("event\tfiles written"));
    EXPECT_TRUE(lines.contains("event\tport released"));
    EXPECT_GT(std::filesystem::file_size(installation.data / "Waves.dat"), shippedWaves)
        << "the imported waveforms are stored too";

    const QJsonObject instrument = installation.finalInstrument(0);
    EXPECT_TRUE(instrument.value("configured").toBool());
    EXPECT_TRUE(instrument.value("clock").toObject().value("octaveMode").toBool());
    EXPECT_TRUE(instrument.value("trigger").toObject().value("running").toBool());
    EXPECT_FALSE(instrument.value("digitalOutputs").toObject().value("on").toBool());
    const QJsonArray channels = instrument.value("channels").toArray();
    ASSERT_EQ(channels.size(), 2);
    for (const QJsonValue& channel : channels) {
        EXPECT_TRUE(channel.toObject().value("enabled").toBool());
        // Level code 2048 into an open output: 8.4 V peak to peak.
        EXPECT_NEAR(channel.toObject().value("amplitudeVpp").toDouble(), 8.4, 0.05);
        EXPECT_NEAR(channel.toObject().value("signalFrequencyHz").toDouble(), 589824, 10);
    }
}

TEST(RealProgramTest, MissingSettingsFileIsReportedTwiceAndWrittenAtExit) {
    Installation installation;
    std::filesystem::remove(installation.data / "Settings.dat");
    auto program = installation.start();
    ASSERT_TRUE(installation.waitForLine(0, "event\tmain window shown"));
    terminate(*program);
    EXPECT_EQ(messagesOf(installation.logLines(0)),
              QStringList(2, "message\terror\tNie je mozne otvorit subor: Settings.dat"));
    EXPECT_TRUE(std::filesystem::exists(installation.data / "Settings.dat"));
}

// A new installation started in a mode and ended: the instrument's state at the end. The start
// shows no message and applies that mode.
static QJsonObject instrumentAfterARunIn(int mode) {
    Installation installation;
    installation.setInterfaceMode(mode);
    auto program = installation.start();
    EXPECT_TRUE(installation.waitForLine(0, "event\tmain window shown"));
    terminate(*program);
    EXPECT_TRUE(messagesOf(installation.logLines(0)).isEmpty());
    EXPECT_TRUE(installation.logLines(0).contains(QString("event\tmode %1 applied").arg(mode)));
    return installation.finalInstrument(0);
}

TEST(RealProgramTest, DigitalModeIsAppliedWhenTheSettingsSaySo) {
    const QJsonObject instrument = instrumentAfterARunIn(2);
    EXPECT_FALSE(instrument.value("clock").toObject().value("octaveMode").toBool());
    EXPECT_TRUE(instrument.value("digitalOutputs").toObject().value("on").toBool());
    EXPECT_NEAR(instrument.value("clock").toObject().value("sampleClockHz").toDouble(), 589824,
                589824 * 0.01);
}

TEST(RealProgramTest, ImportModeIsAppliedWhenTheSettingsSaySo) {
    const QJsonObject instrument = instrumentAfterARunIn(4);
    EXPECT_FALSE(instrument.value("clock").toObject().value("octaveMode").toBool());
    EXPECT_FALSE(instrument.value("digitalOutputs").toObject().value("on").toBool());
    const QJsonObject channelA = instrument.value("channels").toArray().at(0).toObject();
    EXPECT_TRUE(channelA.value("enabled").toBool());
    EXPECT_EQ(channelA.value("playedPoints").toInt(), 16384) << "the imported copy of Sine";
}

TEST(RealProgramTest, SecondCopyActivatesTheFirstAndEndsWithoutAWindow) {
    Installation installation;
    auto first = installation.start(0);
    ASSERT_TRUE(installation.waitForLine(0, "event\tmain window shown"));
    auto second = installation.start(1);
    ASSERT_TRUE(second->waitForFinished(StartTimeoutMs));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(installation.logLines(1), QStringList{"event\tactivated the running copy"});
    EXPECT_TRUE(installation.waitForLine(0, "event\tactivation request"));
    terminate(*first);
}

TEST(RealProgramTest, CopyThatDiedLeavesNothingInTheWay) {
    Installation installation;
    auto first = installation.start(0);
    ASSERT_TRUE(installation.waitForLine(0, "event\tmain window shown"));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(StartTimeoutMs));
    auto second = installation.start(1);
    ASSERT_TRUE(installation.waitForLine(1, "event\tmain window shown"));
    terminate(*second);
    EXPECT_TRUE(installation.logLines(1).contains("event\tport released"));
}
