#include "DataEntryTestSupport.h"
#include "common/FileBytes.h"

#include <QCloseEvent>

namespace brimlo::testing {
namespace {

class DataEntrySaveCloseTest : public DataEntryFixture {
protected:
    void SetUp() override {
        DataEntryFixture::SetUp();
        writeDefaults({{"DISP", "CTL"}});
        openNewLoad();
    }

    bool workspaceLeft() const {
        return std::filesystem::exists(appDir + "Header1.db") ||
               std::filesystem::exists(appDir + "Log1.db");
    }

    // The window's own close, as the frame's close box sends it.
    bool closeWindow() {
        QCloseEvent event;
        QCoreApplication::sendEvent(form.get(), &event);
        return event.isAccepted();
    }
};

// F2 with the dialog cancelled keeps the window; once a file is chosen it
// saves and closes without asking anything.
TEST_F(DataEntrySaveCloseTest, F2SavesAndCloses) {
    toLogPage();
    form->focusControl(LoadControl::ButtD, true);
    keys("30 F2");
    EXPECT_EQ(proposals.size(), 1u);
    EXPECT_TRUE(form->isVisible() && form->document().hasLoad());
    const std::string file = temp.path().string() + "/AB00700123.txt";
    saveAnswer = file;
    keys("F2");
    ASSERT_EQ(proposals.size(), 2u);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(workspaceLeft());
    EXPECT_NE(ReadBytes(file).find("LESSEE CO"), std::string::npos);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(DataEntrySaveCloseTest, CloseAsksAndCancelKeepsTheLoad) {
    const std::string name = form->document().fileName();
    prompt.expect("Save file '" + name + "' before closing?", PromptAnswer::Cancel);
    EXPECT_FALSE(closeWindow());
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Save before closing?");
    EXPECT_TRUE(workspaceLeft());
    prompt.expect("Save file '" + name + "' before closing?", PromptAnswer::No);
    EXPECT_TRUE(closeWindow());
    EXPECT_FALSE(workspaceLeft());
}

TEST_F(DataEntrySaveCloseTest, ExitAsksOnceThenTheWindowCloses) {
    const std::string name = form->document().fileName();
    prompt.expect("Save file '" + name + "' before closing?", PromptAnswer::No);
    EXPECT_TRUE(form->closeQuery());
    EXPECT_TRUE(closeWindow()); // asked already
    EXPECT_EQ(prompt.shown().size(), 1u);
}

} // namespace
} // namespace brimlo::testing
