#include "reports/MasterSummaryReport.h"

#include "ReportTestSupport.h"

namespace brimlo::testing {
namespace {

constexpr double kFirstRecord = kMargin + 20.1;
constexpr double kLandscapeFooterTop = 215.9 - kMargin - 5.6;
// A record's block: two layout pixels plus one line per four groups.
constexpr double kPixel = 25.4 / 96.0;

double BlockHeight(int groups) {
    return (2 + 18 * ((groups + 3) / 4)) * kPixel;
}

std::vector<PdfPage> RenderSummary(Dataset& master) {
    return RenderPdf([&](const std::string& file) { SaveMasterSummaryPdf(file, master); });
}

// A word that may run into its right-hand neighbour ("M" and the mill
// number, the weight and "KG" stand close together).
bool StartsAt(const PdfPage& p, const std::string& text, double left, double top) {
    for (const PdfWord& w : p.line(top))
        if (w.text.rfind(text, 0) == 0 && std::abs(w.left - left) <= 0.5)
            return true;
    return false;
}

// The record's one group has no logs and no volume.
TEST(MasterSummaryReportTest, LandscapeTitleColumnHeadingsAndZeroGuards) {
    auto master = NewReportMaster();
    TestMasterRecord r;
    r.groups = {{"S  GR 01", 0, 0.0, 0.0, 0.0, 0.0, 0.0}};
    AddRecord(*master, r);
    const PdfPage p = OnePage(RenderSummary(*master));
    EXPECT_NEAR(p.width, 279.4, 0.2);
    EXPECT_NEAR(p.height, 215.9, 0.2);
    const Place lefts[] = {{"MASTER", 104.0, 2.9}, {"Rec", 0.5, 10.6},      {"Mill", 13.0, 10.6},
                           {"Mill", 24.6, 10.6},   {"Saw.", 36.8, 10.6},    {"Pop", 46.8, 10.6},
                           {"Load", 54.5, 10.6},   {"Net", 72.0, 10.6},     {"SP", 89.4, 10.6},
                           {"SP", 121.7, 10.6},    {"SP", 153.5, 10.6},     {"SP", 185.5, 10.6},
                           {"Net", 105.8, 10.6},   {"Net", 138.1, 10.6},    {"Net", 169.6, 10.6},
                           {"Net", 201.9, 10.6},   {"Logs", 215.6, 10.6},   {"Cull%", 224.9, 10.6},
                           {"M3/M", 235.2, 10.6},  {"Wt./Vol", 246.1, 10.6}};
    ExpectWords(p, kMargin, lefts);
    // The wrapped headings take a second line below the first.
    for (const char* second : {"Weight", "Volume", "x1000", "Conv."}) {
        const auto words = p.all(second);
        ASSERT_FALSE(words.empty()) << second;
        EXPECT_GT(words.front().top, kMargin + 10.6 + 2.0) << second;
        EXPECT_LT(words.front().top, kFirstRecord) << second;
    }
    // The footer keeps its portrait places.
    EXPECT_TRUE(p.atLeft("BRIMLO", kMargin + 90.5, kLandscapeFooterTop + 2.8, 2.8));
    const Place rights[] = {{"0.00", 233.1, 0.3}, {"0.000", 243.2, 0.3}, {"0.000", 256.4, 0.3}};
    ExpectWords(p, kFirstRecord, {}, rights);
}

TEST(MasterSummaryReportTest, RecordLineFigures) {
    auto master = NewReportMaster();
    TestMasterRecord r;
    r.totalLogs = 99; // printed as stored, whatever the groups hold
    r.groups = {{"S  GR 01", 1, 60.0, 3.0, 0.3, 2.7, 10.0},
                {"F  GR 02", 1, 40.0, 1.9, 0.2, 1.7, 10.0},
                {"P  GR 03", 1, 0.0, 0.0, 0.0, 0.0, 0.0},
                {"L  GR 04", 1, 0.0, 0.0, 0.0, 0.25, 0.0},
                {"A  GR 05", 1, 0.0, 0.0, 0.0, 0.0125, 0.0}};
    AddRecord(*master, r);
    const PdfPage p = OnePage(RenderSummary(*master));
    const double top = kFirstRecord;
    EXPECT_TRUE(StartsAt(p, "M", kMargin + 9.0, top + 0.3));
    EXPECT_TRUE(StartsAt(p, "12346", kMargin + 82.5 - 7.0, top + 0.3) ||
                p.atRight("12346", kMargin + 82.5, top + 0.3));
    // Groups 1 to 4 on the first line, 5 on the second. Cull 100 x 0.5 /
    // 4.9 %, 4.9 m3 over 100 m (not x 1000), 12346 kg / 4.6625 m3.
    const Place lefts[] = {{"AB", 27.5, 0.3}, {"Y", 38.4, 0.3},  {"S", 89.7, 0.3},
                           {"F", 122.0, 0.3}, {"P", 153.2, 0.3}, {"L", 185.5, 0.3},
                           {"A", 89.7, 5.0}};
    const Place rights[] = {{"1", 7.7, 0.3},       {"3", 52.9, 0.3},      {"123", 63.5, 0.3},
                            {"2.700", 119.3, 0.3}, {"1.700", 151.1, 0.3}, {"0.000", 182.6, 0.3},
                            {"0.250", 214.6, 0.3}, {"0.013", 119.3, 5.0}, {"99", 224.4, 0.3},
                            {"10.20", 233.1, 0.3}, {"0.049", 243.2, 0.3}, {"2647.936", 256.4, 0.3}};
    ExpectWords(p, top, lefts, rights);
    EXPECT_TRUE(p.line(top + 9.8).empty());
}

TEST(MasterSummaryReportTest, BlockHeightFollowsTheGroupCount) {
    auto master = NewReportMaster();
    TestMasterRecord r;
    const std::vector<int> counts = {4, 5, 12, 0, 1, 9};
    for (int n : counts) {
        r.groups = PlainGroups(n);
        AddRecord(*master, r);
    }
    const PdfPage p = OnePage(RenderSummary(*master));
    for (const auto& [groups, height] : {std::pair{4, 5.3}, {8, 10.1}, {12, 14.8}, {0, 0.53}})
        ASSERT_NEAR(BlockHeight(groups), height, 0.05);
    double top = kFirstRecord;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string number = std::to_string(i + 1);
        if (counts[i] == 0)
            EXPECT_FALSE(p.atRight(number, kMargin + 7.7, top + 0.3, 1.0));
        else
            ExpectRight(p, number, 7.7, top, 0.3);
        top += BlockHeight(counts[i]);
    }
    // The twelve-group record fills its third line.
    const double third = kFirstRecord + BlockHeight(4) + BlockHeight(5);
    ExpectLeft(p, "S", 185.5, third, 9.8);
    ExpectRight(p, "0.900", 214.6, third, 9.8);
}

TEST(MasterSummaryReportTest, LaterPagesStartWithRecordsWithoutHeadings) {
    auto master = NewReportMaster();
    TestMasterRecord r;
    r.groups = PlainGroups(1);
    for (int i = 0; i < 40; ++i)
        AddRecord(*master, r);
    // 32 blocks of one group fill the first page.
    const auto pages = RenderSummary(*master);
    ASSERT_EQ(pages.size(), 2u);
    ExpectRight(pages[0], "32", 7.7, kFirstRecord + 31 * BlockHeight(1), 0.3);
    EXPECT_FALSE(pages[1].contains("Rec"));
    EXPECT_FALSE(pages[1].contains("MASTER"));
    ExpectRight(pages[1], "33", 7.7, kMargin, 0.3);
    ExpectRight(pages[1], "40", 7.7, kMargin + 7 * BlockHeight(1), 0.3);
}

} // namespace
} // namespace brimlo::testing
