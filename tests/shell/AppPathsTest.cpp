#include "support/AppPaths.h"

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "rules/Cglobals.h"
#include "shell/ProgramStartup.h"

#include <QByteArray>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using brimlo::testing::ScriptedPrompt;
using brimlo::testing::TempDir;
namespace fs = std::filesystem;

namespace {

// Points the user's shared data folder somewhere for one test.
class DataHome {
public:
    explicit DataHome(const fs::path& path) : old_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path.string()));
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", old_); }

private:
    QByteArray old_;
};

// The settings built at start take the folder silently.
TEST(AppPaths, FirstRunCreatesTheProgramFolder) {
    TempDir temp;
    DataHome home(temp / "share");
    std::string directory;
    ASSERT_TRUE(brimlo::FindAppDataDirectory("/opt/brimlo/", directory, "Brimlo"));
    EXPECT_EQ((temp / "share" / "Brimlo").string() + "/", directory);
    EXPECT_TRUE(fs::is_directory(temp / "share" / "Brimlo"));
    // A second run finds it.
    std::string again;
    ASSERT_TRUE(brimlo::FindAppDataDirectory("/opt/brimlo/", again, "Brimlo"));
    EXPECT_EQ(directory, again);
    ScriptedPrompt prompt;
    brimlo::Cglobals globals;
    brimlo::BuildGlobals(globals, prompt);
    EXPECT_EQ(directory, globals.appDataDirectory());
    EXPECT_EQ("1.1.0.0", globals.versionText());
    EXPECT_TRUE(globals.programDate().has_value());
    // The installation directory is the program's, with a separator.
    const std::string installation = globals.installationDirectory();
    EXPECT_TRUE(installation.ends_with('/')) << installation;
    EXPECT_TRUE(fs::exists(fs::path(installation) / "test_shell"));
}

// A file where a folder should be: no folder can be made there, even for a
// user whom permissions do not stop. The settings built at start say so.
TEST(AppPaths, UnusableDataFolderFallsBackToTheInstallationDirectory) {
    for (const char* blocked : {"share", "share/Brimlo"}) {
        SCOPED_TRACE(blocked);
        TempDir temp;
        fs::create_directories((temp / blocked).parent_path());
        std::ofstream(temp / blocked) << "x";
        DataHome home(temp / "share");
        std::string directory = "unchanged";
        EXPECT_FALSE(brimlo::FindAppDataDirectory("/opt/brimlo/", directory, "Brimlo"));
        EXPECT_EQ("/opt/brimlo/", directory);
        ScriptedPrompt prompt;
        prompt.expect("Error: Unable to locate Common Application directory, using Brimlo "
                      "installation directory");
        brimlo::Cglobals globals;
        brimlo::BuildGlobals(globals, prompt);
        ASSERT_EQ(1u, prompt.shown().size());
        EXPECT_EQ("Error:", prompt.shown()[0].caption);
        EXPECT_EQ(brimlo::PromptIcon::Error, prompt.shown()[0].icon);
        EXPECT_EQ(globals.installationDirectory(), globals.appDataDirectory());
    }
}

TEST(AppPaths, VersionAndDateOfTheProgramFile) {
    TempDir temp;
    const fs::path program = temp / "brimlo";
    std::ofstream(program) << "binary";
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(49);
    fs::last_write_time(program, stamp);

    std::string version;
    std::optional<std::chrono::system_clock::time_point> date;
    EXPECT_EQ(0, brimlo::ReadProgramVersion(program.string(), version, date));
    EXPECT_EQ("1.1.0.0", version);
    ASSERT_TRUE(date.has_value());
    const auto expected = std::chrono::file_clock::to_sys(stamp);
    EXPECT_LT(std::chrono::abs(*date - expected), std::chrono::seconds(1));
    // A missing program file leaves the date unset.
    std::optional<std::chrono::system_clock::time_point> none;
    EXPECT_EQ(brimlo::kProgramFileUnreadable,
              brimlo::ReadProgramVersion("/nonexistent/brimlo", version, none));
    EXPECT_FALSE(none.has_value());
}

} // namespace
