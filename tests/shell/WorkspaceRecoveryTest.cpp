#include "MainWindowTestSupport.h"
#include "load/LoadLayouts.h"
#include "support/SqliteStore.h"

#include <filesystem>
#include <fstream>

using namespace brimlo;
using namespace brimlo::testing;
namespace fs = std::filesystem;

namespace {

// The workspaces taken over: number and header table.
using TakeOver = std::vector<std::pair<int, std::string>>;

class WorkspaceRecovery : public ::testing::Test {
protected:
    void leave(std::initializer_list<const char*> names) {
        for (const char* name : names)
            std::ofstream(fixture.temp / name) << "x";
    }
    bool exists(const char* name) const { return fs::exists(fixture.temp / name); }

    // A main window whose take-over makes a child window per workspace.
    std::unique_ptr<TfrmMain> windowTakingOver() {
        MainWindowHooks hooks;
        hooks.openRecoveredWorkspace = [this](TfrmMain&, int n, const std::string& header) {
            taken.push_back({n, header});
            return new FakeChild(QStringLiteral("BRIMLO - Data Entry - untitled%1.txt").arg(n));
        };
        return fixture.make(hooks);
    }

    MainWindowFixture fixture;
    TakeOver taken;
};

TEST_F(WorkspaceRecovery, FirstShowAsksOnceAndNoDeletesEverything) {
    leave({"Header3.db", "Log3.db", "Log3.PX", "Header3.db-journal", "notes.txt"});
    auto window = windowTakingOver();
    ScriptedPrompt prompt;
    prompt.expect(kRecoveryQuestion, PromptAnswer::No);
    window->show();
    Settle();
    ASSERT_EQ(1u, prompt.shown().size());
    EXPECT_EQ("Use data from temporary workspace?", prompt.shown()[0].caption);
    EXPECT_EQ(PromptButtons::YesNoCancel, prompt.shown()[0].buttons);
    EXPECT_EQ(PromptIcon::Warning, prompt.shown()[0].icon);
    for (const char* gone : {"Header3.db", "Log3.db", "Log3.PX", "Header3.db-journal"})
        EXPECT_FALSE(exists(gone)) << gone;
    for (const char* kept : {"notes.txt", "defaults.db", "master.db"})
        EXPECT_TRUE(exists(kept)) << kept;
    EXPECT_TRUE(taken.empty());
    // Showing the window again asks nothing more.
    window->hide();
    window->show();
    Settle();
    EXPECT_EQ(1u, prompt.shown().size());
}

// Without workspaces nothing is asked. Cancel, or Yes with no data entry
// window to take them over, keeps the files and opens nothing.
TEST_F(WorkspaceRecovery, CancelOrNoTakeOverKeepsEverythingAndOpensNothing) {
    {
        ScriptedPrompt silent; // any box fails
        windowTakingOver()->RecoverWorkspaces();
    }
    leave({"Header3.db", "Log3.db", "Log3.PX"});
    for (const PromptAnswer answer : {PromptAnswer::Cancel, PromptAnswer::Yes}) {
        auto window = answer == PromptAnswer::Cancel ? windowTakingOver() : fixture.make();
        ScriptedPrompt prompt;
        prompt.expect(kRecoveryQuestion, answer);
        window->RecoverWorkspaces();
        for (const char* kept : {"Header3.db", "Log3.db", "Log3.PX"})
            EXPECT_TRUE(exists(kept)) << kept;
        EXPECT_TRUE(taken.empty());
        EXPECT_EQ(0, window->openChildWindows());
    }
}

TEST_F(WorkspaceRecovery, YesTakesOverEachWorkspaceOnceWithASingleQuestion) {
    leave({"Header3.db", "Log3.db", "Log3.PX", "Header3.db-journal", "Header7.db", "Log7.db"});
    auto window = windowTakingOver();
    ScriptedPrompt prompt;
    prompt.expect(kRecoveryQuestion, PromptAnswer::Yes);
    window->RecoverWorkspaces();
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ(taken, (TakeOver{{3, fixture.dir + "Header3.db"}, {7, fixture.dir + "Header7.db"}}));
    EXPECT_EQ(2, window->openLoadWindows());
    EXPECT_EQ(2, window->openChildWindows());
    // The take-over reads the files; nothing is deleted here.
    for (const char* kept : {"Header3.db", "Log3.db", "Log3.PX", "Header7.db", "Log7.db"})
        EXPECT_TRUE(exists(kept)) << kept;
}

// A kill while New Load made its workspace can leave the log table without
// its header table. Yes cannot take it over; empty, it goes, so the next
// start asks nothing. One holding logs is kept.
TEST_F(WorkspaceRecovery, YesRemovesAnEmptyLogTableLeftWithoutItsHeader) {
    {
        SqliteStore::create((fixture.temp / "Log5.db").string(), LogFields());
        Dataset kept(SqliteStore::create((fixture.temp / "Log6.db").string(), LogFields()));
        kept.insert();
        kept.setField("LOGNUM", Value(int32_t{1}));
        kept.post();
    }
    auto window = windowTakingOver();
    ScriptedPrompt prompt;
    prompt.expect(kRecoveryQuestion, PromptAnswer::Yes);
    window->show();
    Settle();
    EXPECT_TRUE(taken.empty());
    EXPECT_FALSE(exists("Log5.db"));
    EXPECT_TRUE(exists("Log6.db"));
}

TEST_F(WorkspaceRecovery, HeaderWithoutANumberStopsTheTakeOverWithAnError) {
    leave({"Header.db"});
    auto window = windowTakingOver();
    ScriptedPrompt prompt;
    prompt.expect(kRecoveryQuestion, PromptAnswer::Yes);
    prompt.expect("'' is not a valid integer value.");
    window->show();
    Settle();
    EXPECT_TRUE(taken.empty());
    EXPECT_TRUE(exists("Header.db"));
}

} // namespace
