#include "reports/BandedReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace brimlo {
namespace {

using Kind = BandedReport::BandKind;
using ::testing::DoubleEq;
using ::testing::ElementsAre;

constexpr double kPageHeight = 279.4;
constexpr double kFooter = 5.0;
constexpr double kBodyBottom = kPageHeight - 10.0 - kFooter; // 264.4

// Details of the heights given, with a title, a page header and a footer.
BandedReport MakeReport(std::vector<double> heights, double summary = 0.0) {
    BandedReport report(QStringLiteral("Test"), PageOrientation::Portrait);
    report.setTitleBand(ReportBand(30.0));
    report.setPageHeader(ReportBand(10.0));
    report.setSummaryBand(ReportBand(summary));
    const int count = static_cast<int>(heights.size());
    report.setDetails(
        count, [heights](int i) { return heights[static_cast<std::size_t>(i)]; },
        [heights](int i) { return ReportBand(heights[static_cast<std::size_t>(i)]); });
    report.setPageFooter(kFooter, [](int) { return ReportBand(kFooter); });
    report.layout();
    return report;
}

std::vector<BandedReport::Placement> Of(const BandedReport& report, Kind kind, int page) {
    std::vector<BandedReport::Placement> found;
    for (const auto& p : report.placementsOf(page))
        if (p.kind == kind)
            found.push_back(p);
    return found;
}

// The tops of the bands of a kind on a page.
std::vector<double> Tops(const BandedReport& report, Kind kind, int page) {
    std::vector<double> tops;
    for (const auto& p : Of(report, kind, page))
        tops.push_back(p.top);
    return tops;
}

TEST(BandedReportTest, TitleOnFirstPageAndPageHeaderOnLaterOnes) {
    // 40 mm bands: page 1 has room for 5 below the 30 mm title (40 + 200 =
    // 240 <= 264.4), later pages for 6 below the 10 mm page header.
    const BandedReport report = MakeReport(std::vector<double>(12, 40.0));
    ASSERT_EQ(report.pageCount(), 3);
    EXPECT_EQ(Tops(report, Kind::Detail, 0), (std::vector<double>{40, 80, 120, 160, 200}));
    EXPECT_EQ(Tops(report, Kind::Detail, 1), (std::vector<double>{20, 60, 100, 140, 180, 220}));
    EXPECT_EQ(Of(report, Kind::Detail, 1).at(0).index, 5);
    EXPECT_EQ(Of(report, Kind::Detail, 2).size(), 1u);
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(Of(report, Kind::Title, page).size(), page == 0 ? 1u : 0u);
        EXPECT_EQ(Tops(report, Kind::PageHeader, page),
                  std::vector<double>(page == 0 ? 0 : 1, 10.0));
        EXPECT_THAT(Tops(report, Kind::Footer, page), ElementsAre(DoubleEq(kBodyBottom)));
        EXPECT_EQ(Of(report, Kind::Footer, page).at(0).index, page + 1);
    }
}

TEST(BandedReportTest, BandThatDoesNotFitStartsTheNextPageWhole) {
    // 40 + 200 + 24 = 264 fits exactly; a band of 25 would end at 265.
    const BandedReport fits = MakeReport({200.0, 24.4});
    EXPECT_EQ(fits.pageCount(), 1);
    const BandedReport moves = MakeReport({200.0, 24.5});
    ASSERT_EQ(moves.pageCount(), 2);
    EXPECT_EQ(Tops(moves, Kind::Detail, 1), std::vector<double>{20.0});
    EXPECT_EQ(Of(moves, Kind::Detail, 1).at(0).index, 1);
}

TEST(BandedReportTest, OversizeBandPrintsOnItsOwnPage) {
    const BandedReport report = MakeReport({10.0, 300.0, 10.0});
    ASSERT_EQ(report.pageCount(), 3);
    EXPECT_EQ(Of(report, Kind::Detail, 1).size(), 1u);
    EXPECT_EQ(Of(report, Kind::Detail, 2).at(0).index, 2);
}

TEST(BandedReportTest, SummaryFollowsTheLastDetailOrStartsAPage) {
    const BandedReport same = MakeReport({100.0}, 50.0);
    ASSERT_EQ(same.pageCount(), 1);
    EXPECT_EQ(Tops(same, Kind::Summary, 0), std::vector<double>{140.0});

    const BandedReport next = MakeReport({200.0}, 30.0);
    ASSERT_EQ(next.pageCount(), 2);
    EXPECT_TRUE(Of(next, Kind::Summary, 0).empty());
    EXPECT_EQ(Tops(next, Kind::Summary, 1), std::vector<double>{20.0});
}

TEST(BandedReportTest, NoDetailsStillMakesOnePage) {
    const BandedReport report = MakeReport({}, 20.0);
    ASSERT_EQ(report.pageCount(), 1);
    EXPECT_EQ(Of(report, Kind::Title, 0).size(), 1u);
    EXPECT_DOUBLE_EQ(Of(report, Kind::Summary, 0).at(0).top, 40.0);
    EXPECT_EQ(Of(report, Kind::Footer, 0).size(), 1u);
}

TEST(BandedReportTest, LandscapeSwapsThePaperSides) {
    const BandedReport portrait(QStringLiteral("P"), PageOrientation::Portrait);
    const BandedReport landscape(QStringLiteral("L"), PageOrientation::Landscape);
    EXPECT_NEAR(portrait.bandWidth(), 195.8, 0.01);
    EXPECT_NEAR(landscape.bandWidth(), 259.3, 0.01);
    EXPECT_NEAR(landscape.pageHeight(), 215.9, 0.05);
}

} // namespace
} // namespace brimlo
