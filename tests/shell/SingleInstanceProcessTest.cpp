// The single-instance rule between real processes: this test program runs
// itself as the "other copy", told what to do by the environment.
#include "support/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <QUuid>
#include <cstdio>
#include <gtest/gtest.h>

using brimlo::SingleInstance;

namespace {

constexpr const char* kLockVariable = "BRIMLO_TEST_INSTANCE_LOCK";

QString LockForThisRun() {
    return QStringLiteral("BRIMLO_TEST_") + QUuid::createUuid().toString(QUuid::Id128);
}

// Starts this program as another copy running one probe below.
std::unique_ptr<QProcess> StartCopy(const QString& lock, const char* probe) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kLockVariable), lock);
    process->setProcessEnvironment(env);
    process->start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=SingleInstanceProbe.") + QString::fromLatin1(probe)});
    return process;
}

bool WaitFor(const std::function<bool()>& condition, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// --- the probes, run only inside a started copy -----------------------------

TEST(SingleInstanceProbe, FindsAnotherCopy) {
    const QByteArray lock = qgetenv(kLockVariable);
    if (lock.isEmpty())
        GTEST_SKIP() << "runs only as the other copy";
    SingleInstance copy(lock.toStdString(), {});
    EXPECT_TRUE(copy.anotherCopyRuns());
}

TEST(SingleInstanceProbe, HoldsTheLockUntilKilled) {
    const QByteArray lock = qgetenv(kLockVariable);
    if (lock.isEmpty())
        GTEST_SKIP() << "runs only as the other copy";
    SingleInstance copy(lock.toStdString(), {});
    ASSERT_FALSE(copy.anotherCopyRuns());
    std::puts("held");
    std::fflush(stdout);
    QThread::sleep(60);
}

// --- the tests ---------------------------------------------------------------

TEST(SingleInstanceProcesses, LaterCopyEndsAndAsksTheFirstForward) {
    const QString lock = LockForThisRun();
    int raised = 0;
    SingleInstance first(lock.toStdString(), [&] { ++raised; });
    ASSERT_FALSE(first.anotherCopyRuns());

    auto copy = StartCopy(lock, "FindsAnotherCopy");
    ASSERT_TRUE(WaitFor([&] { return copy->state() == QProcess::NotRunning; }));
    EXPECT_EQ(QProcess::NormalExit, copy->exitStatus());
    EXPECT_EQ(0, copy->exitCode()) << copy->readAllStandardOutput().toStdString();
    EXPECT_TRUE(WaitFor([&] { return raised == 1; }));
}

TEST(SingleInstanceProcesses, KilledCopyDoesNotBlockTheNextStart) {
    const QString lock = LockForThisRun();
    auto holder = StartCopy(lock, "HoldsTheLockUntilKilled");
    QByteArray said;
    ASSERT_TRUE(WaitFor([&] {
        said += holder->readAllStandardOutput();
        return said.contains("held");
    }));
    {
        SingleInstance meanwhile(lock.toStdString(), {});
        EXPECT_TRUE(meanwhile.anotherCopyRuns());
    }
    holder->kill();
    ASSERT_TRUE(holder->waitForFinished(5000));

    int raised = 0;
    SingleInstance next(lock.toStdString(), [&] { ++raised; });
    EXPECT_FALSE(next.anotherCopyRuns());
    SingleInstance later(lock.toStdString(), {});
    EXPECT_TRUE(later.anotherCopyRuns());
    EXPECT_TRUE(WaitFor([&] { return raised == 1; }));
}

} // namespace
