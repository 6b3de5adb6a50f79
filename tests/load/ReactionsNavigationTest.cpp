#include "WorkspaceTestSupport.h"

namespace brimlo::testing {
namespace {

class ReactionsNavigationTest : public ShownLoadFixture {
protected:
    ScriptedPrompt prompt;
};

TEST_F(ReactionsNavigationTest, NextOrAppendAppendsOnlyOnTheLastLog) {
    doc->NextOrAppendLog();
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
    EXPECT_EQ(view.focuses.back(), std::make_pair(LoadControl::Species, false));
    log().first();
    doc->NextOrAppendLog();
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
}

TEST_F(ReactionsNavigationTest, GoToLogNumber) {
    doc->AppendLog();
    doc->AppendLog();
    Key(*doc, "FLAG", "T");
    EXPECT_TRUE(doc->GoToLogNumber(2));
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
    prompt.expect("Error: Unable to find log number: 7");
    EXPECT_FALSE(doc->GoToLogNumber(7));
    EXPECT_EQ(prompt.shown().back().caption, "Error: Log Number Not Found");
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
    log().last();
    EXPECT_EQ(Text(log(), "FLAG"), "T"); // posted before the search
}

TEST_F(ReactionsNavigationTest, CullingTheEntireLog) {
    Key(*doc, "BUTTD", int32_t{30});
    log().post();
    doc->cull().CullEntireLog();
    EXPECT_TRUE(log().isEditing());
    EXPECT_EQ(Text(log(), "CULL_TYPE"), "4");
    EXPECT_EQ(Text(log(), "CULL_METH"), "3");
    EXPECT_EQ(Int(log(), "C1"), 100);
    EXPECT_EQ(Int(log(), "C2"), 0);
    EXPECT_EQ(Int(log(), "C3"), 0);
    EXPECT_EQ(Int(log(), "CULLVOL"), 256);
}

} // namespace
} // namespace brimlo::testing
