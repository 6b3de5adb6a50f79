#include "DataEntryTestSupport.h"

#include <QLabel>
#include <QPixmap>
#include <cstdlib>

namespace brimlo::testing {
namespace {

// Pictures of the load window for the documentation, taken only when
// BRIMLO_SCREENSHOTS names the folder to put them in.
class DataEntryScreenshotTest : public DataEntryFixture {
protected:
    void SetUp() override {
        DataEntryFixture::SetUp();
        writeDefaults({{"DISP", "CTL"}});
        openNewLoad();
    }
    void picture(const char* name) {
        if (const char* folder = std::getenv("BRIMLO_SCREENSHOTS")) {
            EXPECT_TRUE(form->grab().save(QString::fromLatin1(folder) + QLatin1Char('/') +
                                          QLatin1String(name)));
        }
    }
};

TEST_F(DataEntryScreenshotTest, BothPages) {
    if (!std::getenv("BRIMLO_SCREENSHOTS"))
        GTEST_SKIP() << "BRIMLO_SCREENSHOTS not set";
    picture("data-entry-header.png");
    toLogPage();
    // Thirty logs of varied butts, every fifth culled whole.
    for (int i = 0; i < 30; ++i) {
        form->focusControl(LoadControl::ButtD, true);
        keys((std::to_string(24 + 2 * ((i * 7) % 13)) + " Tab" + (i % 5 == 4 ? " F8" : "") +
              (i < 29 ? " F4" : ""))
                 .c_str());
    }
    keys("Home");
    form->focusControl(LoadControl::ButtD, true);
    picture("data-entry-log.png");
}

// A heart rot keyed by interior log reduction, the way the user guide shows
// it: the status line asks for each measurement in turn.
TEST_F(DataEntryScreenshotTest, HeartRotKeyedByInteriorLogReduction) {
    toLogPage();
    for (const char* butt : {"34", "28", "40", "32"}) {
        form->focusControl(LoadControl::ButtD, true);
        keys(butt);
        keys("Tab F4");
    }
    keys("Home");
    form->focusControl(LoadControl::CullType, false);
    keys("1 Tab");
    ASSERT_EQ(logText("CULL_METH"), "6");
    EXPECT_EQ(logInt("C3"), 50);
    keys("Tab 10 Tab");
    ASSERT_EQ(focused(), row("C2"));
    EXPECT_EQ(Str(form->statusLabel()->text()),
              "Heart Rot - Interior Log Reduction - Enter Cull Butt Diameter (cm)");
    keys("14 Tab");
    ASSERT_EQ(focused(), row("C3"));
    EXPECT_EQ(Str(form->statusLabel()->text()),
              "Heart Rot - Interior Log Reduction - Enter Cull Length (dm)");
    // The rot is a log of its own, butt 14, top 10, 50 dm long, by Smalian's
    // formula: half-volumes of 38.5 and 19.6 litres, rounded each, 38 + 20.
    EXPECT_EQ(logInt("CULLVOL"), 58);
    picture("data-entry-cull.png");
}

} // namespace
} // namespace brimlo::testing
