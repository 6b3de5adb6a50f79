#include "DataEntryTestSupport.h"
#include "common/ClippedLabels.h"

#include <QTabWidget>

namespace brimlo::testing {
namespace {

struct FontCase {
    const char* name;
    int pointsMore;
};

// The pages are laid out from their texts: a bigger font widens captions
// and fields instead of cutting them or running them into each other.
class DataEntryLayoutTest : public DataEntryFixture,
                            public ::testing::WithParamInterface<FontCase> {
protected:
    void SetUp() override {
        DataEntryFixture::SetUp();
        QFont bigger = saved;
        bigger.setPointSizeF(saved.pointSizeF() + GetParam().pointsMore);
        QApplication::setFont(bigger);
    }
    void TearDown() override {
        DataEntryFixture::TearDown();
        QApplication::setFont(saved);
    }
    const QFont saved = QApplication::font();
};

TEST_P(DataEntryLayoutTest, NothingIsCutOnEitherPage) {
    writeDefaults({{"DISP", "CTL"}});
    openNewLoad();
    const bool design = GetParam().pointsMore == 0;
    if (design) {
        EXPECT_EQ(form->size(), QSize(750, 455));
    }
    QWidget* header = form->pages()->widget(0);
    EXPECT_EQ(ClippedLabels(*header), std::vector<std::string>{});
    EXPECT_EQ(CrowdedParts(*header), std::vector<std::string>{});
    toLogPage();
    EXPECT_EQ(ClippedLabels(*form->pages()->widget(1)), std::vector<std::string>{});
    EXPECT_EQ(form->heading("BUTTD")->x(), 160);
    // The grid starts below the status line and the headings.
    if (design) {
        EXPECT_EQ(form->grid()->y(), 46);
    }
}

const FontCase kFonts[] = {{"DesignFont", 0}, {"FourPointsBigger", 4}};
INSTANTIATE_TEST_SUITE_P(, DataEntryLayoutTest, ::testing::ValuesIn(kFonts),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace brimlo::testing
