#include "WorkspaceTestSupport.h"
#include "load/LoadFileReader.h"

namespace brimlo::testing {
namespace {

class WorkspaceSaveTest : public LoadFixture {
protected:
    std::string savePath(const std::string& name) { return (temp.path() / name).string(); }

    void setHeader(const char* field, const Value& v, LoadDocument& doc) {
        doc.header().edit();
        doc.header().setField(field, v);
        doc.header().post();
    }
};

TEST_F(WorkspaceSaveTest, ProposalFromMillCodePopulationAndLoadNumber) {
    writeTypicalDefaults({{"MILL_CODE", "AB"}});
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    EXPECT_EQ(doc->ProposedFileName(), "AB070123");
    setHeader("POP", int32_t{1234}, *doc);
    setHeader("LOAD_NUM", int32_t{123456}, *doc);
    EXPECT_EQ(doc->ProposedFileName(), "AB232345");
    setHeader("MILL_CODE", " C", *doc);
    setHeader("POP", int32_t{0}, *doc);
    setHeader("LOAD_NUM", int32_t{0}, *doc);
    EXPECT_EQ(doc->ProposedFileName(), "C000000");
}

TEST_F(WorkspaceSaveTest, UntitledSaveRunsSaveAsAndCancelChangesNothing) {
    writeTypicalDefaults({{"DEFAULT_DATA_PATH", temp.path().string()}});
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    view.saveAnswer = std::nullopt;
    EXPECT_FALSE(doc->SaveLoad());
    ASSERT_EQ(view.saveDialogs.size(), 1u);
    EXPECT_EQ(view.saveDialogs[0].first, "AB070123");
    EXPECT_EQ(view.saveDialogs[0].second, temp.path().string());
    EXPECT_TRUE(doc->flags().Modified);
    EXPECT_EQ(doc->fileName(), temp.path().string() + "/untitled1.txt");
}

TEST_F(WorkspaceSaveTest, SaveAsWritesTheFileAndRenamesTheWindow) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    Key(*doc, "BUTTD", int32_t{30});
    Key(*doc, "FLAG", "B"); // left unposted: the save posts it
    const std::string chosen = savePath("AB070123.txt");
    view.saveAnswer = chosen;
    ASSERT_TRUE(doc->SaveLoad());
    EXPECT_FALSE(doc->log().isEditing());
    EXPECT_FALSE(doc->flags().Modified);
    EXPECT_EQ(doc->fileName(), chosen);
    EXPECT_EQ(view.caption, "BRIMLO - Data Entry - " + chosen);
    EXPECT_EQ(view.saveDialogs[0].second, ""); // untitled name without a directory

    const LoadFileReadResult back = ReadLoadFile(chosen, prompt);
    ASSERT_TRUE(back.read);
    ASSERT_EQ(back.load.logs.size(), 1u);
    EXPECT_EQ(back.load.logs[0].GROSSVOL, 256.0);
    EXPECT_EQ(back.load.logs[0].FLAG, "B");
    EXPECT_EQ(back.load.header.MILL_CODE, "AB");

    // Saved and untouched: closing asks nothing.
    EXPECT_TRUE(doc->CloseQuery());
    // A titled load saves under its name without the dialog.
    Key(*doc, "DBH", int32_t{12});
    ASSERT_TRUE(doc->SaveLoad());
    EXPECT_EQ(view.saveDialogs.size(), 1u);
    EXPECT_EQ(ReadLoadFile(chosen, prompt).load.logs[0].DBH, 12);
    // Editing the header marks the load modified again.
    EXPECT_FALSE(doc->flags().Modified);
    doc->header().edit();
    EXPECT_TRUE(doc->flags().Modified);
}

TEST_F(WorkspaceSaveTest, DataDirectoryNamedUntitledMakesEverySaveASaveAs) {
    const std::string dir = savePath("untitled loads");
    std::filesystem::create_directories(dir);
    writeTypicalDefaults({{"DEFAULT_DATA_PATH", dir}});
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    view.saveAnswer = dir + "/AB070123.txt";
    ASSERT_TRUE(doc->SaveLoad());
    ASSERT_TRUE(doc->SaveLoad());
    EXPECT_EQ(view.saveDialogs.size(), 2u);
    EXPECT_EQ(view.saveDialogs[1].second, dir);
}

TEST_F(WorkspaceSaveTest, FailedWriteKeepsTheChosenNameButNotTheCaption) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    const std::string chosen = savePath("missing/dir/AB.txt");
    prompt.expect("Error: Unable to open file: " + chosen);
    view.saveAnswer = chosen;
    EXPECT_FALSE(doc->SaveLoadAs());
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "File Error");
    EXPECT_EQ(doc->fileName(), chosen);
    EXPECT_EQ(view.caption, "BRIMLO - Data Entry - untitled1.txt");
    EXPECT_TRUE(doc->flags().Modified);
}

TEST_F(WorkspaceSaveTest, RefusedHeaderCheckFocusesItsControl) {
    writeTypicalDefaults({{"SCALER_NAME", ""}});
    ScriptedPrompt prompt;
    prompt.expect("Scaler Name must have a value");
    auto doc = shownNewLoad();
    EXPECT_FALSE(doc->SaveLoad());
    EXPECT_TRUE(view.saveDialogs.empty());
    EXPECT_TRUE(view.headerPageShown);
    ASSERT_FALSE(view.focuses.empty());
    EXPECT_EQ(view.focuses.back(), std::make_pair(LoadControl::ScalerName, true));
}

TEST_F(WorkspaceSaveTest, CloseQueryCancelNoAndFailingYes) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    const std::string question = "Save file 'untitled1.txt' before closing?";
    prompt.expect(question, PromptAnswer::Cancel);
    EXPECT_FALSE(doc->CloseQuery());
    EXPECT_EQ(prompt.shown().back().caption, "Save before closing?");
    EXPECT_EQ(prompt.shown().back().buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(doc->flags().CloseAsked, 0);

    // Yes, but the save dialog is cancelled: the window stays.
    prompt.expect(question, PromptAnswer::Yes);
    view.saveAnswer = std::nullopt;
    EXPECT_FALSE(doc->CloseQuery());
    EXPECT_EQ(doc->flags().CloseAsked, 0);

    prompt.expect(question, PromptAnswer::No);
    EXPECT_TRUE(doc->CloseQuery());
    EXPECT_TRUE(prompt.allExpectedShown());
    // The second pass of closing asks nothing more.
    EXPECT_TRUE(doc->CloseQuery());
    EXPECT_EQ(prompt.shown().size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "untitled1.txt"));
}

TEST_F(WorkspaceSaveTest, CloseQueryYesSavesAndCloses) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    Key(*doc, "BUTTD", int32_t{24});
    prompt.expect("Save file 'untitled1.txt' before closing?", PromptAnswer::Yes);
    view.saveAnswer = savePath("closing.txt");
    EXPECT_TRUE(doc->CloseQuery());
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "closing.txt"));
    EXPECT_EQ(ReadLoadFile(savePath("closing.txt"), prompt).load.logs[0].BUTTD, 24);
}

TEST_F(WorkspaceSaveTest, SaveAndCloseKeyAsksNothing) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    doc->flags().AskToSave = false;
    EXPECT_TRUE(doc->CloseQuery());
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(WorkspaceSaveTest, SummaryComesFromTheWorkspace) {
    writeTypicalDefaults();
    ScriptedPrompt prompt;
    auto doc = shownNewLoad();
    Key(*doc, "BUTTD", int32_t{30}); // 256 litres
    doc->log().insert();
    Key(*doc, "BUTTD", int32_t{24});
    Key(*doc, "LENGTH", int32_t{40}); // 24/20/40: 153 litres
    doc->log().post();
    const LoadSummary summary = doc->BuildSummary();
    EXPECT_EQ(summary.NUM_GROUPS, 1);
    EXPECT_EQ(summary.TOTALLOGS, 2);
    EXPECT_EQ(summary.groups[0].SPCDPR, "S  GR 01");
    EXPECT_DOUBLE_EQ(summary.groups[0].LENGTH, 90 * 0.1);
    EXPECT_DOUBLE_EQ(summary.groups[0].GROSSVOL, 409 * 0.001);
}

} // namespace
} // namespace brimlo::testing
