#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include "../waves/TempFolder.h"
#include "platform/ActivationChannel.h"

namespace {

QString socketPath(const TempFolder& folder) {
    return QString::fromStdString((folder / ActivationChannel::ServerName).string());
}

}  // namespace

TEST(ActivationChannelTest, NoRunningCopyNoAnswer) {
    TempFolder folder;
    ActivationChannel channel(socketPath(folder));
    EXPECT_FALSE(channel.runningCopyListens());
    EXPECT_FALSE(channel.requestActivation());
}

TEST(ActivationChannelTest, ALaterCopyActivatesTheRunningOne) {
    TempFolder folder;
    ActivationChannel running(socketPath(folder));
    ASSERT_TRUE(running.listen());
    QSignalSpy activated(&running, &ActivationChannel::activationRequested);

    ActivationChannel later(socketPath(folder));
    EXPECT_TRUE(later.runningCopyListens());
    QTest::qWait(0);
    EXPECT_EQ(activated.count(), 0) << "looking for the window is no request";
    EXPECT_TRUE(later.requestActivation());
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }));
}

TEST(ActivationChannelTest, OtherTalkIsIgnored) {
    TempFolder folder;
    ActivationChannel running(socketPath(folder));
    ASSERT_TRUE(running.listen());
    QSignalSpy activated(&running, &ActivationChannel::activationRequested);
    QLocalSocket stranger;
    stranger.connectToServer(socketPath(folder));
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write(QByteArray(200, 'x') + "\nhello\n");
    stranger.waitForBytesWritten(1000);
    QTest::qWait(50);
    EXPECT_EQ(activated.count(), 0);
}

TEST(ActivationChannelTest, ASocketLeftByADeadCopyIsReplaced) {
    TempFolder folder;
    {
        QFile stale(socketPath(folder));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    ActivationChannel running(socketPath(folder));
    EXPECT_TRUE(running.listen());
    EXPECT_TRUE(running.listening());
}
