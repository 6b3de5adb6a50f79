#include "DataEntryTestSupport.h"

#include <QLabel>
#include <QPixmap>
#include <cstdlib>

namespace brimlo::testing {
namespace {

// A heart rot keyed by interior log reduction, the way the user guide shows
// it: the status line asks for each measurement in turn. The picture is taken
// only when BRIMLO_SCREENSHOTS names the folder to put it in.
class CullEntryScreenshotTest : public DataEntryFixture {};

TEST_F(CullEntryScreenshotTest, HeartRotKeyedByInteriorLogReduction) {
    writeDefaults({{"DISP", "CTL"}});
    openNewLoad();
    toLogPage();
    for (int butt : {34, 28, 40, 32}) {
        form->focusControl(LoadControl::ButtD, true);
        type(std::to_string(butt).c_str());
        key(Qt::Key_Tab);
        key(Qt::Key_F4);
    }
    key(Qt::Key_Home);
    form->focusControl(LoadControl::CullType, false);
    pick("1");
    key(Qt::Key_Tab);
    ASSERT_EQ(logText("CULL_METH"), "6");
    EXPECT_EQ(logInt("C3"), 50);
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), row("C1"));
    type("10");
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), row("C2"));
    EXPECT_EQ(Str(form->statusLabel()->text()),
              "Heart Rot - Interior Log Reduction - Enter Cull Butt Diameter (cm)");
    type("14");
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), row("C3"));
    EXPECT_EQ(Str(form->statusLabel()->text()),
              "Heart Rot - Interior Log Reduction - Enter Cull Length (dm)");
    // The rot is a log of its own, butt 14, top 10, 50 dm long, by Smalian's
    // formula: half-volumes of 38.5 and 19.6 litres, rounded each, 38 + 20.
    EXPECT_EQ(logInt("CULLVOL"), 58);
    if (const char* folder = std::getenv("BRIMLO_SCREENSHOTS")) {
        const std::string file = std::string(folder) + "/data-entry-cull.png";
        EXPECT_TRUE(form->grab().save(QString::fromStdString(file)));
    }
}

} // namespace
} // namespace brimlo::testing
