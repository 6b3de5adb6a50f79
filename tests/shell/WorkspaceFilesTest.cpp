#include "support/WorkspaceFiles.h"

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "support/BrimloError.h"
#include "support/DirectoryListing.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace brimlo;
using brimlo::testing::InstalledPrompt;
using brimlo::testing::ScriptedPrompt;
using brimlo::testing::TempDir;
namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path) {
    std::ofstream(path) << "x";
}

std::vector<std::string> AllMatches(const std::string& directory) {
    InstalledPrompt prompt;
    DirectoryListing listing(directory, prompt);
    std::vector<std::string> names;
    std::string name;
    while (listing.nextMatchingEntry(name, WorkspaceFilePatterns()))
        names.push_back(name);
    listing.close();
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WorkspaceListing, MatchesWorkspaceFilesOnlyAndReportsAnUnreadableDirectory) {
    TempDir temp;
    for (const char* name : {"Header12.db", "Log12.db", "Log12.PX", "Logbook.db", "master.db",
                             "defaults.db", "Header12.txt", "log12.db", "Log12.px"})
        Touch(temp / name);
    const std::vector<std::string> expected = {"Header12.db", "Log12.PX", "Log12.db", "Logbook.db"};
    EXPECT_EQ(expected, AllMatches(temp.path().string() + "/"));
    // An unreadable directory is reported and yields nothing.
    const std::string missing = (temp / "gone").string() + "/";
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to open directory '" + missing + "'");
    EXPECT_TRUE(AllMatches(missing).empty());
    ASSERT_EQ(1u, prompt.shown().size());
    EXPECT_EQ("Directory Error", prompt.shown()[0].caption);
    EXPECT_EQ(PromptIcon::Error, prompt.shown()[0].icon);
}

// The number between "Header" and the extension; 0: no number, an error.
TEST(WorkspaceNumber, TakenBetweenHeaderAndTheExtension) {
    const std::pair<const char*, int> rows[] = {
        {"Header3.db", 3}, {"Header117.db", 117}, {"Header3.db-journal", 3}, {"Header.db", 0},
        {"HeaderX.db", 0}, {"Header3a.db", 0},    {"OldHeader.db", 0}};
    for (const auto& [name, number] : rows) {
        try {
            EXPECT_EQ(number, WorkspaceNumberFromHeaderName(name)) << name;
        } catch (const BrimloError& error) {
            EXPECT_EQ(0, number) << name;
            EXPECT_NE(std::string::npos, error.text().find("is not a valid integer value"))
                << error.text();
        }
    }
}

TEST(WorkspaceNumber, SidecarNamesLeadToTheirTable) {
    for (const char* name : {"Header3.db-journal", "Header3.db-wal", "Header3.db"})
        EXPECT_EQ("Header3.db", HeaderTableName(name)) << name;
    EXPECT_TRUE(IsHeaderFileName("Header3.db-shm"));
    EXPECT_FALSE(IsHeaderFileName("Log3.db"));
}

TEST(WorkspaceFiles, DeletingAFileTakesItsSidecarsAlong) {
    TempDir temp;
    for (const char* name : {"Header4.db", "Header4.db-journal", "Header4.db-wal", "Log4.db"})
        Touch(temp / name);
    DeleteWorkspaceFile((temp / "Header4.db").string());
    for (const char* gone : {"Header4.db", "Header4.db-journal", "Header4.db-wal"})
        EXPECT_FALSE(fs::exists(temp / gone)) << gone;
    EXPECT_TRUE(fs::exists(temp / "Log4.db"));
    // Already gone: no error.
    DeleteWorkspaceFile((temp / "Header4.db").string());
}

TEST(WorkspaceFiles, NewNumberSkipsEveryKeptWorkspace) {
    TempDir temp;
    const std::string dir = temp.path().string() + "/";
    EXPECT_EQ(1, NextFreeWorkspaceNumber(dir, 0));
    for (const char* name : {"Header1.db", "Log2.PX", "Log3.db-journal", "Log5.db"})
        Touch(temp / name);
    EXPECT_EQ(4, NextFreeWorkspaceNumber(dir, 0));
    EXPECT_EQ(4, NextFreeWorkspaceNumber(dir, 3));
    EXPECT_EQ(6, NextFreeWorkspaceNumber(dir, 4));
    EXPECT_EQ(8, NextFreeWorkspaceNumber(dir, 7));
    // past the largest number (a workspace taken over may carry it) the
    // count starts again at 1, never going negative
    EXPECT_EQ(4, NextFreeWorkspaceNumber(dir, INT_MAX));
}

} // namespace
