#include "DataEntryTestSupport.h"

#include <QPixmap>
#include <cstdlib>

namespace brimlo::testing {
namespace {

// Pictures of both pages for the documentation, taken only when
// BRIMLO_SCREENSHOTS names the folder to put them in.
class DataEntryScreenshotTest : public DataEntryFixture {};

TEST_F(DataEntryScreenshotTest, BothPages) {
    const char* folder = std::getenv("BRIMLO_SCREENSHOTS");
    if (!folder)
        GTEST_SKIP() << "BRIMLO_SCREENSHOTS not set";
    writeDefaults({{"DISP", "CTL"}});
    openNewLoad();
    const std::string dir = std::string(folder) + "/";
    ASSERT_TRUE(form->grab().save(QString::fromStdString(dir + "data-entry-header.png")));
    toLogPage();
    const int butts[] = {30, 36, 28, 44, 32, 40};
    for (int butt : butts) {
        form->focusControl(LoadControl::ButtD, true);
        type(std::to_string(butt).c_str());
        key(Qt::Key_Tab);
        key(Qt::Key_F4);
    }
    key(Qt::Key_Home);
    form->focusControl(LoadControl::ButtD, true);
    EXPECT_TRUE(form->grab().save(QString::fromStdString(dir + "data-entry-log.png")));
}

} // namespace
} // namespace brimlo::testing
