// The single-instance rule between real copies of the program, each with a
// runtime folder of its own, on one data folder.
#include "common/FileBytes.h"
#include "common/TempDir.h"
#include "support/DataFolderLock.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

using brimlo::testing::ReadBytes;
using brimlo::testing::TempDir;

class ProgramCopies : public ::testing::Test {
protected:
    std::unique_ptr<QProcess> start(const std::filesystem::path& runtime) {
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(data.path().string()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.string()));
        auto copy = std::make_unique<QProcess>();
        copy->setProcessEnvironment(env);
        copy->start(QStringLiteral(BRIMLO_PROGRAM_COPY), {});
        return copy;
    }
    static bool says(QProcess& copy, QByteArray& said, const char* what) {
        said += copy.readAllStandardOutput();
        return said.contains(what);
    }
    // Every file of the data folder with its bytes.
    std::map<std::string, std::string> folder() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(data.path()))
            files[entry.path().string()] = ReadBytes(entry.path());
        return files;
    }
    TempDir data;
    TempDir runtimes;
};

TEST_F(ProgramCopies, ASecondCopyOnTheDataFolderEndsWithTheMessageAndTouchesNothing) {
    auto first = start(runtimes / "first");
    QByteArray said;
    ASSERT_TRUE(QTest::qWaitFor([&] { return says(*first, said, "RUNNING"); }, 20000))
        << said.toStdString();
    const auto before = folder();

    auto second = start(runtimes / "second");
    ASSERT_TRUE(second->waitForFinished(20000));
    const std::string told = second->readAllStandardOutput().toStdString();
    EXPECT_EQ(0, second->exitCode());
    EXPECT_NE(told.find("BOX Only one instance of the Brimlo program is allowed."),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("is in use by another copy of the program (host "), std::string::npos)
        << told;
    EXPECT_NE(told.find("process " + std::to_string(first->processId()) + ")"), std::string::npos)
        << told;
    EXPECT_EQ(told.find("RUNNING"), std::string::npos) << told;
    EXPECT_EQ(folder(), before) << "the second copy changed the data folder";
    EXPECT_EQ(first->state(), QProcess::Running);

    // a killed holder does not block the next start
    first->kill();
    ASSERT_TRUE(first->waitForFinished(10000));
    auto third = start(runtimes / "second");
    said.clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return says(*third, said, "RUNNING"); }, 20000))
        << said.toStdString();
    third->kill();
    third->waitForFinished(10000);
}

} // namespace
