#include "DataEntryTestSupport.h"
#include "common/FileBytes.h"

#include <QCloseEvent>
#include <fstream>
#include <sstream>

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

TEST_F(DataEntrySaveCloseTest, F2SavesAndClosesWithoutAsking) {
    toLogPage();
    form->focusControl(LoadControl::ButtD, true);
    type("30");
    const std::string file = temp.path().string() + "/AB00700123.txt";
    saveAnswer = file;
    key(Qt::Key_F2);
    ASSERT_EQ(proposals.size(), 1u);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(workspaceLeft());
    EXPECT_NE(ReadBytes(file).find("LESSEE CO"), std::string::npos);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(DataEntrySaveCloseTest, F2WithTheDialogCancelledKeepsTheWindow) {
    key(Qt::Key_F2);
    EXPECT_EQ(proposals.size(), 1u);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->document().hasLoad());
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
