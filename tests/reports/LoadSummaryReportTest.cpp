#include "reports/LoadSummaryReport.h"

#include "ReportTestSupport.h"
#include "master/CMaster.h"

#include <tuple>

namespace brimlo::testing {
namespace {

constexpr double kDetailTop = kMargin + 38.6;

std::vector<PdfPage> RenderSummary(const LoadData& load) {
    CMaster master;
    return RenderPdf([&](const std::string& file) { SaveLoadSummaryPdf(file, load, master); });
}

// Where the summary band starts for a load of n groups.
double SummaryTop(int groups) {
    return kDetailTop + 74.4 - (12 - groups) * kLine;
}

TEST(LoadSummaryReportTest, HeaderBlockGroupRowsTotalsAndStatistics) {
    LoadData load = SampleLoadOf(0);
    load.logs = {MakeLog(1, "S", "GR", "01", 250, 20, 50), MakeLog(2, "S", "GR", "01", 198, 0, 46),
                 MakeLog(3, "F", "GR", "02", 100, 50, 30)};
    const PdfPage p = OnePage(RenderSummary(load));
    const Place lefts[] = {{"LOAD", 81.0, 2.9},    {"Lessee,", 0.8, 13.0},
                           {"Mill", 43.7, 13.0},   {"Load", 147.9, 13.0},
                           {"Block", 114.3, 27.5}, {"2006/12/16", 16.4, 32.8}};
    // Here the top diameter is right-aligned.
    const Place rights[] = {{"123456", 143.1, 17.7}, {"16", 57.4, 32.8}};
    ExpectWords(p, kMargin, lefts, rights);
    EXPECT_FALSE(p.contains("GROSS"));
    // Ten unused slots lift the totals line by ten lines.
    const double totals = 66.7 - 10 * kLine;
    const Place detailLefts[] = {
        {"SP", 10.6, 1.3},   {"Logs", 37.8, 1.3},     {"Length", 54.2, 1.3}, {"Gross", 72.8, 1.3},
        {"Cull", 99.0, 1.3}, {"Net", 121.4, 1.3},     {"Cull", 140.2, 1.3},  {"S", 11.4, 7.1},
        {"F", 11.4, 11.9},   {"TOTALS", 13.2, totals}};
    // "S  GR 01": 2 logs, 9.6 m, 0.448 gross, 0.020 cull, 20 x 100 / 448 %.
    const Place detailRights[] = {
        {"2", 45.5, 7.1},        {"9.6", 64.8, 7.1},       {"0.448", 87.8, 7.1},
        {"0.020", 111.7, 7.1},   {"0.428", 134.1, 7.1},    {"4.46", 149.5, 7.1},
        {"50.00", 149.5, 11.9},  {"3", 46.0, totals},      {"12.6", 65.4, totals},
        {"0.548", 88.4, totals}, {"0.070", 111.7, totals}, {"0.478", 134.1, totals},
        {"12.77", 149.5, totals}};
    ExpectWords(p, kDetailTop, detailLefts, detailRights);
    EXPECT_TRUE(p.line(kDetailTop + 16.7).empty());

    // 0.548 / 5 + 0.00001 a tree, 0.548 / 12.6 a metre, 25000 kg / 0.478.
    const Place stats[] = {
        {"Trees", 32.8, 0.3},   {"Gross", 49.7, 0.3},      {"Avg.", 84.4, 0.3},
        {"Wt/Vol", 125.4, 0.3}, {"5", 34.7, 5.8},          {"0.1096", 59.0, 5.8},
        {"0.043", 98.4, 5.8},   {"52301.255", 138.1, 5.8}, {"Scaler:", 6.1, 14.6},
        {"Check", 64.3, 14.6},  {"Audit", 136.0, 14.6}};
    ExpectWords(p, SummaryTop(2), stats);
}

TEST(LoadSummaryReportTest, TwelveGroupsKeepTheDesignedHeight) {
    LoadData load = SampleLoadOf(12, 12);
    load.logs.push_back(MakeLog(13, "M", "GR", "01", 100)); // a thirteenth: counted nowhere
    const PdfPage p = OnePage(RenderSummary(load));
    EXPECT_EQ(p.all("M").size(), 1u); // only the one before the mill number
    const Place lefts[] = {{"K", 11.4, 58.5}, {"TOTALS", 13.2, 66.7}};
    const Place rights[] = {{"12", 46.0, 66.7}};
    ExpectWords(p, kDetailTop, lefts, rights);
    ExpectLeft(p, "Trees", 32.8, SummaryTop(12), 0.3);
}

TEST(LoadSummaryReportTest, LoadWithoutLogsPrintsZerosThroughTheFormats) {
    const PdfPage p = OnePage(RenderSummary(SampleLoadOf(0)));
    ExpectLeft(p, "S", 11.4, kDetailTop, 7.1);
    const double totals = 66.7 - 11 * kLine;
    const Place rights[] = {{"0", 45.5, 7.1},       {"0.0", 64.8, 7.1},  {"0.000", 87.8, 7.1},
                            {"0.00", 149.5, 7.1},   {"0", 46.0, totals}, {"0.000", 134.1, totals},
                            {"0.00", 149.5, totals}};
    ExpectWords(p, kDetailTop, {}, rights);
    EXPECT_TRUE(p.line(kDetailTop + 11.9).empty());
    const Place stats[] = {
        {"5", 34.7, 5.8}, {"0.0000", 59.0, 5.8}, {"0.000", 98.4, 5.8}, {"0.000", 138.1, 5.8}};
    ExpectWords(p, SummaryTop(1), stats);
}

// One log; the header's trees and net weight vary.
TEST(LoadSummaryReportTest, StatisticsOfOneLog) {
    // Trees, net weight, gross litres; the volume a tree and the weight to volume.
    const std::tuple<int, double, double, const char*, const char*> cases[] = {
        // 4.217 / 20 = 0.21085, plus 0.00001, to four decimals.
        {20, 25000.0, 4217, "0.2109", "5928.385"},
        // 12345.6 kg is taken as 12346 kg over 1 m3 net.
        {0, 12345.6, 1000, "0.0000", "12346.000"},
    };
    for (const auto& [trees, netWeight, gross, perTree, weightToVolume] : cases) {
        SCOPED_TRACE(perTree);
        LoadData load = SampleLoadOf(0);
        load.header.TREES = trees;
        load.header.NETWEIGHT = netWeight;
        load.logs = {MakeLog(1, "S", "GR", "01", gross)};
        const Place stats[] = {
            {std::to_string(trees), 34.7, 5.8}, {perTree, 59.0, 5.8}, {weightToVolume, 138.1, 5.8}};
        ExpectWords(OnePage(RenderSummary(load)), SummaryTop(1), stats);
    }
}

} // namespace
} // namespace brimlo::testing
