#include "reports/LoadSummaryReport.h"

#include "ReportTestSupport.h"
#include "master/CMaster.h"

#include <gtest/gtest.h>

namespace brimlo::testing {
namespace {

constexpr double kTitleTop = kMargin;
constexpr double kDetailTop = kMargin + 38.6;

std::vector<PdfPage> RenderSummary(const LoadData& load) {
    CMaster master;
    return RenderPdf([&](const std::string& file) { SaveLoadSummaryPdf(file, load, master); });
}

// Where the summary band starts for a load of n groups.
double SummaryTop(int groups) {
    return kDetailTop + 74.4 - (12 - groups) * kLine;
}

LoadData TwoGroupLoad() {
    LoadData load;
    load.header = SampleHeader();
    load.logs = {MakeLog(1, "S", "GR", "01", 250, 20, 50), MakeLog(2, "S", "GR", "01", 198, 0, 46),
                 MakeLog(3, "F", "GR", "02", 100, 50, 30)};
    return load;
}

TEST(LoadSummaryReportTest, TitleBandCarriesTheHeaderBlock) {
    const auto pages = RenderSummary(TwoGroupLoad());
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    ExpectLeft(p, "LOAD", 81.0, kTitleTop, 2.9);
    ExpectLeft(p, "Lessee,", 0.8, kTitleTop, 13.0);
    ExpectLeft(p, "Load", 147.9, kTitleTop, 13.0);
    ExpectRight(p, "123456", 143.1, kTitleTop, 17.7);
    ExpectLeft(p, "Block", 114.3, kTitleTop, 27.5);
    ExpectLeft(p, "2006/12/16", 16.4, kTitleTop, 32.8);
    // Here the top diameter is right-aligned.
    ExpectRight(p, "16", 57.4, kTitleTop, 32.8);
    EXPECT_FALSE(p.contains("GROSS"));
}

TEST(LoadSummaryReportTest, GroupRowsTotalsAndStatistics) {
    const auto pages = RenderSummary(TwoGroupLoad());
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    ExpectLeft(p, "SP", 10.6, kDetailTop, 1.3);
    ExpectLeft(p, "Logs", 37.8, kDetailTop, 1.3);
    ExpectLeft(p, "Length", 54.2, kDetailTop, 1.3);
    ExpectLeft(p, "Gross", 72.8, kDetailTop, 1.3);
    ExpectLeft(p, "Cull", 99.0, kDetailTop, 1.3);
    ExpectLeft(p, "Net", 121.4, kDetailTop, 1.3);
    ExpectLeft(p, "Cull", 140.2, kDetailTop, 1.3);

    // "S  GR 01": 2 logs, 9.6 m, 0.448 gross, 0.020 cull, 20 x 100 / 448 %.
    ExpectLeft(p, "S", 11.4, kDetailTop, 7.1);
    ExpectRight(p, "2", 45.5, kDetailTop, 7.1);
    ExpectRight(p, "9.6", 64.8, kDetailTop, 7.1);
    ExpectRight(p, "0.448", 87.8, kDetailTop, 7.1);
    ExpectRight(p, "0.020", 111.7, kDetailTop, 7.1);
    ExpectRight(p, "0.428", 134.1, kDetailTop, 7.1);
    ExpectRight(p, "4.46", 149.5, kDetailTop, 7.1);
    ExpectLeft(p, "F", 11.4, kDetailTop, 11.9);
    ExpectRight(p, "50.00", 149.5, kDetailTop, 11.9);
    EXPECT_TRUE(p.line(kDetailTop + 16.7).empty());

    // Ten unused slots lift the totals line by ten lines.
    const double shift = 10 * kLine;
    ExpectLeft(p, "TOTALS", 13.2, kDetailTop, 66.7 - shift);
    ExpectRight(p, "3", 46.0, kDetailTop, 66.7 - shift);
    ExpectRight(p, "12.6", 65.4, kDetailTop, 66.7 - shift);
    ExpectRight(p, "0.548", 88.4, kDetailTop, 66.7 - shift);
    ExpectRight(p, "0.070", 111.7, kDetailTop, 66.7 - shift);
    ExpectRight(p, "0.478", 134.1, kDetailTop, 66.7 - shift);
    ExpectRight(p, "12.77", 149.5, kDetailTop, 66.7 - shift);

    const double stats = SummaryTop(2);
    ExpectLeft(p, "Trees", 32.8, stats, 0.3);
    ExpectLeft(p, "Gross", 49.7, stats, 0.3);
    ExpectLeft(p, "Avg.", 84.4, stats, 0.3);
    ExpectLeft(p, "Wt/Vol", 125.4, stats, 0.3);
    ExpectLeft(p, "5", 34.7, stats, 5.8);
    ExpectLeft(p, "0.1096", 59.0, stats, 5.8);     // 0.548 / 5 + 0.00001
    ExpectLeft(p, "0.043", 98.4, stats, 5.8);      // 0.548 / 12.6
    ExpectLeft(p, "52301.255", 138.1, stats, 5.8); // 25000 kg / 0.478
    ExpectLeft(p, "Scaler:", 6.1, stats, 14.6);
    ExpectLeft(p, "Check", 64.3, stats, 14.6);
    ExpectLeft(p, "Audit", 136.0, stats, 14.6);
}

TEST(LoadSummaryReportTest, TwelveGroupsKeepTheDesignedHeight) {
    const std::vector<std::string> species = {"S", "F", "P", "L", "A", "B",
                                              "C", "D", "E", "H", "J", "K"};
    LoadData load;
    load.header = SampleHeader();
    for (int i = 0; i < 12; ++i)
        load.logs.push_back(MakeLog(i + 1, species[static_cast<std::size_t>(i)], "GR", "01", 100));
    load.logs.push_back(MakeLog(13, "M", "GR", "01", 100)); // a thirteenth: counted nowhere
    const auto pages = RenderSummary(load);
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    ExpectLeft(p, "K", 11.4, kDetailTop, 58.5);
    EXPECT_EQ(p.all("M").size(), 1u); // only the one before the mill number
    ExpectLeft(p, "TOTALS", 13.2, kDetailTop, 66.7);
    ExpectRight(p, "12", 46.0, kDetailTop, 66.7);
    ExpectLeft(p, "Trees", 32.8, SummaryTop(12), 0.3);
}

TEST(LoadSummaryReportTest, LoadWithoutLogsPrintsZerosThroughTheFormats) {
    LoadData load;
    load.header = SampleHeader();
    const auto pages = RenderSummary(load);
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    ExpectLeft(p, "S", 11.4, kDetailTop, 7.1);
    ExpectRight(p, "0", 45.5, kDetailTop, 7.1);
    ExpectRight(p, "0.0", 64.8, kDetailTop, 7.1);
    ExpectRight(p, "0.000", 87.8, kDetailTop, 7.1);
    ExpectRight(p, "0.00", 149.5, kDetailTop, 7.1);
    EXPECT_TRUE(p.line(kDetailTop + 11.9).empty());
    const double totals = 66.7 - 11 * kLine;
    ExpectRight(p, "0", 46.0, kDetailTop, totals);
    ExpectRight(p, "0.000", 134.1, kDetailTop, totals);
    ExpectRight(p, "0.00", 149.5, kDetailTop, totals);
    const double stats = SummaryTop(1);
    ExpectLeft(p, "5", 34.7, stats, 5.8);
    ExpectLeft(p, "0.0000", 59.0, stats, 5.8);
    ExpectLeft(p, "0.000", 98.4, stats, 5.8);
    ExpectLeft(p, "0.000", 138.1, stats, 5.8);
}

TEST(LoadSummaryReportTest, GrossPerTreeCarriesItsBias) {
    LoadData load;
    load.header = SampleHeader();
    load.header.TREES = 20;
    load.logs = {MakeLog(1, "S", "GR", "01", 4217)};
    const auto pages = RenderSummary(load);
    ASSERT_EQ(pages.size(), 1u);
    // 4.217 / 20 = 0.21085, plus 0.00001, to four decimals.
    ExpectLeft(pages[0], "0.2109", 59.0, SummaryTop(1), 5.8);
}

TEST(LoadSummaryReportTest, NoTreesAndRoundedNetWeight) {
    LoadData load;
    load.header = SampleHeader();
    load.header.TREES = 0;
    load.header.NETWEIGHT = 12345.6;
    load.logs = {MakeLog(1, "S", "GR", "01", 1000)};
    const auto pages = RenderSummary(load);
    ASSERT_EQ(pages.size(), 1u);
    const double stats = SummaryTop(1);
    ExpectLeft(pages[0], "0", 34.7, stats, 5.8);
    ExpectLeft(pages[0], "0.0000", 59.0, stats, 5.8);
    // 12345.6 kg is taken as 12346 kg over 1 m3 net.
    ExpectLeft(pages[0], "12346.000", 138.1, stats, 5.8);
}

} // namespace
} // namespace brimlo::testing
