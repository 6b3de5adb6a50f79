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
    // Thirty logs of varied butts, every fifth culled whole.
    for (int i = 0; i < 30; ++i) {
        form->focusControl(LoadControl::ButtD, true);
        type(std::to_string(24 + 2 * ((i * 7) % 13)).c_str());
        key(Qt::Key_Tab);
        if (i % 5 == 4)
            key(Qt::Key_F8);
        if (i < 29)
            key(Qt::Key_F4);
    }
    key(Qt::Key_Home);
    form->focusControl(LoadControl::ButtD, true);
    EXPECT_TRUE(form->grab().save(QString::fromStdString(dir + "data-entry-log.png")));
}

} // namespace
} // namespace brimlo::testing
