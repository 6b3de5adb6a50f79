#include "support/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QUuid>
#include <gtest/gtest.h>
#include <unistd.h>

using brimlo::SingleInstance;

namespace {

std::string UniqueLockName() {
    return "BRIMLO_TEST_" + QUuid::createUuid().toString(QUuid::Id128).toStdString();
}

bool WaitFor(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

TEST(SingleInstance, SecondCopyFindsTheFirstAndAsksItForward) {
    const std::string name = UniqueLockName();
    int raised = 0;
    SingleInstance first(name, [&] { ++raised; });
    EXPECT_FALSE(first.anotherCopyRuns());

    SingleInstance second(name, [] { ADD_FAILURE() << "the second copy was asked forward"; });
    EXPECT_TRUE(second.anotherCopyRuns());
    EXPECT_TRUE(WaitFor([&] { return raised == 1; }));

    SingleInstance third(name, {});
    EXPECT_TRUE(third.anotherCopyRuns());
    EXPECT_TRUE(WaitFor([&] { return raised == 2; }));
}

TEST(SingleInstance, LockIsFreeAgainWhenTheFirstCopyEnds) {
    const std::string name = UniqueLockName();
    {
        SingleInstance first(name, {});
        ASSERT_FALSE(first.anotherCopyRuns());
    }
    SingleInstance next(name, {});
    EXPECT_FALSE(next.anotherCopyRuns());
}

TEST(SingleInstance, SocketLeftByAKilledCopyIsTakenOver) {
    const std::string name = UniqueLockName();
    const QString socketName = QString::fromStdString(name + "_" + std::to_string(::getuid()));
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

    int raised = 0;
    SingleInstance first(name, [&] { ++raised; });
    EXPECT_FALSE(first.anotherCopyRuns());
    SingleInstance second(name, {});
    EXPECT_TRUE(second.anotherCopyRuns());
    EXPECT_TRUE(WaitFor([&] { return raised == 1; }));
}

} // namespace
