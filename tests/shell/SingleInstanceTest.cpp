#include "support/SingleInstance.h"

#include "common/TempDir.h"

#include <QFile>
#include <QLocalServer>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

using brimlo::SingleInstance;

namespace {

std::string UniqueLockName() {
    return "BRIMLO_TEST_" + QUuid::createUuid().toString(QUuid::Id128).toStdString();
}

TEST(SingleInstance, SecondCopyFindsTheFirstAndAsksItForward) {
    const std::string name = UniqueLockName();
    brimlo::testing::TempDir data;
    int raised = 0;
    SingleInstance first(name, data.path().string(), [&] { ++raised; });
    EXPECT_FALSE(first.anotherCopyRuns());

    SingleInstance second(name, data.path().string(),
                          [] { ADD_FAILURE() << "the second copy was asked forward"; });
    EXPECT_TRUE(second.anotherCopyRuns());
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }));

    SingleInstance third(name, data.path().string(), {});
    EXPECT_TRUE(third.anotherCopyRuns());
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 2; }));

    brimlo::testing::TempDir otherData;
    SingleInstance elsewhere(name, otherData.path().string(), {});
    EXPECT_FALSE(elsewhere.anotherCopyRuns()) << "another data folder is free";
}

TEST(SingleInstance, SocketLeftByAKilledCopyIsTakenOver) {
    const std::string name = UniqueLockName();
    brimlo::testing::TempDir data;
    QString socketName;
    {
        SingleInstance probe(name, data.path().string(), {});
        socketName = QString::fromStdString(probe.serverName());
    }
    // Where the socket file lives; a killed copy leaves a file there that
    // nobody listens on.
    QString socketPath;
    {
        QLocalServer probe;
        ASSERT_TRUE(probe.listen(socketName));
        socketPath = probe.fullServerName();
    }
    QFile leftOver(socketPath);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();

    // The probe has ended: its lock is free again.
    int raised = 0;
    SingleInstance first(name, data.path().string(), [&] { ++raised; });
    EXPECT_FALSE(first.anotherCopyRuns());
    SingleInstance second(name, data.path().string(), {});
    EXPECT_TRUE(second.anotherCopyRuns());
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }));
}

} // namespace
