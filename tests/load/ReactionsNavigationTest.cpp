#include "WorkspaceTestSupport.h"

namespace brimlo::testing {
namespace {

class ReactionsNavigationTest : public LoadFixture {
protected:
    void SetUp() override {
        LoadFixture::SetUp();
        writeTypicalDefaults();
        doc = shownNewLoad();
    }

    ScriptedPrompt prompt;
    std::unique_ptr<LoadDocument> doc;
};

TEST_F(ReactionsNavigationTest, NextOrAppendAppendsOnlyOnTheLastLog) {
    doc->NextOrAppendLog();
    EXPECT_EQ(doc->log().recordCount(), 2);
    EXPECT_EQ(Int(doc->log(), "LOGNUM"), 2);
    EXPECT_EQ(view.focuses.back(), std::make_pair(LoadControl::Species, false));
    doc->log().first();
    doc->NextOrAppendLog();
    EXPECT_EQ(doc->log().recordCount(), 2);
    EXPECT_EQ(Int(doc->log(), "LOGNUM"), 2);
}

TEST_F(ReactionsNavigationTest, AppendButtonRefusesAtTheLimit) {
    doc->log().beginBulk();
    while (doc->log().recordCount() < 2400)
        doc->log().insert();
    doc->log().endBulk();
    prompt.expect("The maximum number of logs allowed is 2400");
    EXPECT_FALSE(doc->AppendLog());
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Log Data Append");
    EXPECT_EQ(doc->log().recordCount(), 2400);
}

TEST_F(ReactionsNavigationTest, GoToLogNumber) {
    doc->AppendLog();
    doc->AppendLog();
    Key(*doc, "FLAG", "T");
    EXPECT_TRUE(doc->GoToLogNumber(2));
    EXPECT_EQ(Int(doc->log(), "LOGNUM"), 2);
    prompt.expect("Error: Unable to find log number: 7");
    EXPECT_FALSE(doc->GoToLogNumber(7));
    EXPECT_EQ(prompt.shown().back().caption, "Error: Log Number Not Found");
    EXPECT_EQ(Int(doc->log(), "LOGNUM"), 2);
    doc->log().last();
    EXPECT_EQ(Text(doc->log(), "FLAG"), "T"); // posted before the search
}

TEST_F(ReactionsNavigationTest, CullingTheEntireLog) {
    Key(*doc, "BUTTD", int32_t{30});
    doc->log().post();
    doc->cull().CullEntireLog();
    EXPECT_TRUE(doc->log().isEditing());
    EXPECT_EQ(Text(doc->log(), "CULL_TYPE"), "4");
    EXPECT_EQ(Text(doc->log(), "CULL_METH"), "3");
    EXPECT_EQ(Int(doc->log(), "C1"), 100);
    EXPECT_EQ(Int(doc->log(), "C2"), 0);
    EXPECT_EQ(Int(doc->log(), "C3"), 0);
    EXPECT_EQ(Int(doc->log(), "CULLVOL"), 256);
}

} // namespace
} // namespace brimlo::testing
