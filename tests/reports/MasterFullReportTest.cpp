#include "reports/MasterFullReport.h"

#include "ReportTestSupport.h"

#include <array>

namespace brimlo::testing {
namespace {

constexpr double kFirstRecord = kMargin + 14.6;
constexpr double kDesignedHeight = 115.6;

std::vector<PdfPage> RenderFull(Dataset& master, bool currentOnly = false) {
    return RenderPdf(
        [&](const std::string& file) { SaveMasterFullPdf(file, master, currentOnly); });
}

TestMasterRecord ThreeGroupRecord() {
    TestMasterRecord r;
    r.groups = {{"S  GR 01", 2, 9.6, 0.448, 0.02, 0.428, 100.0 / 3.0},
                {"F  GR 02", 4, 52.0, 1.5, 0.5, 1.0, 25.0},
                {"P  DE 01", 0, 0.0, 0.0, 0.0, 0.0, 0.0}};
    r.totalLogs = 6;
    return r;
}

TEST(MasterFullReportTest, RecordBandPlacesHeaderGroupsTotalsAndStatistics) {
    auto master = NewReportMaster();
    AddRecord(*master, ThreeGroupRecord());
    const PdfPage p = OnePage(RenderFull(*master));
    ExpectLeft(p, "MASTER", 68.0, kMargin, 2.9);
    // Stored values through their display formats. Nine unused rows lift
    // the lower part by nine lines. 100 x 0.52 / 1.948 % cull; per tree
    // 1.948 / 20 + 0.00001, per metre 1.948 / 61.6, per m3 12346 / 1.428.
    const double totals = 97.1 - 9 * kLine, heads = 104.8 - 9 * kLine, stats = 110.3 - 9 * kLine;
    const Place lefts[] = {
        {"Lessee,", 0.8, 0.3},   {"Small", 158.8, 0.3},     {"Lessee", 0.8, 5.0},
        {"M", 127.5, 5.0},       {"Date", 13.5, 14.8},      {"2026/03/04", 16.4, 20.1},
        {"3", 38.9, 20.1},       {"14", 51.1, 20.1},        {"12346", 65.9, 20.1},
        {"Source", 159.0, 20.1}, {"SP", 10.3, 31.8},        {"Logs", 37.6, 31.8},
        {"Gross", 73.6, 31.8},   {"Cull", 137.1, 31.8},     {"TOTALS", 13.0, totals},
        {"Trees", 32.5, heads},  {"Wt/Vol", 125.1, heads},  {"0.0974", 58.7, stats},
        {"0.032", 98.2, stats},  {"8645.658", 137.8, stats}};
    const Place rights[] = {
        {"4711", 143.1, 5.0},     {"123", 157.7, 5.0},      {"01", 27.5, 37.6},
        {"2", 46.0, 37.6},        {"9.6", 65.4, 37.6},      {"0.448", 90.5, 37.6},
        {"0.020", 111.1, 37.6},   {"0.428", 131.0, 37.6},   {"33.33", 148.4, 37.6},
        {"52.0", 65.4, 42.3},     {"25.00", 148.4, 42.3},   {"0.00", 148.4, 47.1},
        {"6", 46.0, totals},      {"61.6", 65.4, totals},   {"1.948", 90.5, totals},
        {"0.520", 111.1, totals}, {"1.428", 131.0, totals}, {"26.69", 148.4, totals},
        {"20", 40.2, stats}};
    ExpectWords(p, kFirstRecord, lefts, rights);
    for (double row : {51.9, 56.4, 88.9})
        EXPECT_TRUE(p.line(kFirstRecord + row).empty()) << row;
}

TEST(MasterFullReportTest, EachRecordShowsItsOwnRowsAndBandsStayWhole) {
    auto master = NewReportMaster();
    TestMasterRecord r;
    r.groups = PlainGroups(12);
    AddRecord(*master, r);
    r.groups = PlainGroups(2);
    AddRecord(*master, r);
    r.groups = PlainGroups(5);
    r.lessee = "Third";
    AddRecord(*master, r);
    const auto pages = RenderFull(*master);
    ASSERT_EQ(pages.size(), 2u);

    // The second band, of two groups, stands below the first. The third (5
    // groups) does not fit below it: it starts page 2, where no title is printed.
    const PdfPage& p = pages[0];
    const double s = kDesignedHeight;
    const Place lefts[] = {
        {"TOTALS", 13.0, 97.1}, {"Lessee,", 0.8, s + 0.3}, {"TOTALS", 13.0, s + 97.1 - 10 * kLine}};
    const Place rights[] = {{"12", 27.5, 88.9}, {"02", 27.5, s + 42.3}};
    ExpectWords(p, kFirstRecord, lefts, rights);
    EXPECT_TRUE(p.line(kFirstRecord + s + 47.1).empty());
    EXPECT_FALSE(p.contains("Third"));
    const PdfPage& q = pages[1];
    EXPECT_FALSE(q.contains("MASTER"));
    const Place third[] = {
        {"Lessee,", 0.8, 0.3}, {"Third", 0.8, 5.0}, {"TOTALS", 13.0, 97.1 - 7 * kLine}};
    ExpectWords(q, kMargin, third, std::array{Place{"05", 27.5, 56.4}});
    EXPECT_TRUE(q.line(kMargin + 60.9).empty());
}

TEST(MasterFullReportTest, ZeroGuardsAndRecordWithoutGroups) {
    auto master = NewReportMaster();
    TestMasterRecord r;
    r.trees = 0;
    r.groups = {{"S  GR 01", 1, 4.0, 0.5, 0.5, 0.0, 100.0}};
    AddRecord(*master, r);
    r.groups.clear();
    AddRecord(*master, r);
    const PdfPage p = OnePage(RenderFull(*master));
    // The first record's statistics; the second band, lifted by eleven
    // unused rows of the first, has twelve of its own.
    const double stats = 110.3 - 11 * kLine, second = kDesignedHeight - 11 * kLine;
    const double totals = second + 97.1 - 12 * kLine, lower = second + 110.3 - 12 * kLine;
    const Place lefts[] = {{"0.0000", 58.7, stats}, {"0.125", 98.2, stats},
                           {"0.000", 137.8, stats}, {"Lessee,", 0.8, second + 0.3},
                           {"0.0000", 58.7, lower}, {"0.000", 98.2, lower},
                           {"0.000", 137.8, lower}};
    const Place rights[] = {
        {"0", 40.2, stats}, {"0", 46.0, totals}, {"0.0", 65.4, totals}, {"0.00", 148.4, totals}};
    ExpectWords(p, kFirstRecord, lefts, rights);
    EXPECT_TRUE(p.line(kFirstRecord + second + 37.6).empty());
}

TEST(MasterFullReportTest, CurrentReportShowsOneRecordAndClearsTheFilter) {
    auto master = NewReportMaster();
    TestMasterRecord r = ThreeGroupRecord();
    for (const char* lessee : {"First", "Second", "Third"}) {
        r.lessee = lessee;
        ++r.loadNum;
        AddRecord(*master, r);
    }
    master->first();
    master->next();
    const PdfPage p = OnePage(RenderFull(*master, true));
    EXPECT_EQ(p.all("Lessee,").size(), 1u); // one record band, the second's
    EXPECT_TRUE(p.contains("Second"));
    EXPECT_FALSE(master->filtered());
    EXPECT_EQ(master->recordCount(), 3);
    EXPECT_EQ(master->field(kMasterLessee).asString(), "Second");

    EXPECT_EQ(OnePage(RenderFull(*master)).all("Lessee,").size(), 3u);
    EXPECT_EQ(master->field(kMasterLessee).asString(), "Second");
}

} // namespace
} // namespace brimlo::testing
