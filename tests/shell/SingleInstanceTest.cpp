#include "support/SingleInstance.h"

#include "common/TempDir.h"

#include <QFile>
#include <QLocalServer>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

using brimlo::SingleInstance;

namespace {

// A killed copy leaves a socket file nobody listens on: the next copy
// takes it over, and later copies on the folder ask that one forward.
TEST(SingleInstance, SecondCopyFindsTheFirstAndAsksItForward) {
    const std::string name =
        "BRIMLO_TEST_" + QUuid::createUuid().toString(QUuid::Id128).toStdString();
    brimlo::testing::TempDir data;
    QString socketName;
    {
        SingleInstance probe(name, data.path().string(), {});
        socketName = QString::fromStdString(probe.serverName());
    }
    QString socketPath; // where the socket file lives
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

} // namespace
