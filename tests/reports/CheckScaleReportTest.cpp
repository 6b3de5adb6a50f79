#include "reports/CheckScaleReport.h"

#include "ReportTestSupport.h"
#include "common/CheckScaleLoads.h"

namespace brimlo::testing {
namespace {

constexpr double kDetailTop = kMargin + 37.0;
constexpr double kGroupsTop = kDetailTop + 2.0 + 2 * kLine; // below the group heading

// The words of the line standing at the given top, joined by blanks.
std::string LineText(const PdfPage& page, double top) {
    std::string text;
    for (const PdfWord& w : page.line(top))
        text += (text.empty() ? "" : " ") + w.text;
    return text;
}

std::vector<PdfPage> Render(const CheckScaleComparison& c) {
    return RenderPdf([&](const std::string& file) { SaveCheckScaleReportPdf(file, c); });
}

// The check scaler's log 1 has a wider top; the check also holds a log 4.
CheckScaleComparison WiderTopWithExtraLog(const CheckScaleTolerances& tolerances) {
    LoadData check = CheckScaleWiderTop();
    check.logs.push_back(CheckScaleLog(4, "S", "01", 24, 20, 40));
    CheckScaleComparison c = CompareCheckScale(CheckScaleBaseLoad(), check, tolerances);
    c.originalFile = "scaler.txt";
    c.checkFile = "checker.txt";
    return c;
}

TEST(CheckScaleReportTest, TitleGroupsVerdictsAndLogs) {
    CheckScaleTolerances defect;
    defect.defectRule = true;
    const PdfPage p = OnePage(Render(WiderTopWithExtraLog(defect)));
    const Place title[] = {
        {"CHECK", 58.0, 2.9}, {"scaler.txt", 24.0, 10.0}, {"checker.txt", 24.0, 15.0}};
    ExpectWords(p, kMargin, title);
    EXPECT_EQ(LineText(p, kMargin + 20.0),
              "Tolerances: gross 1.00 %, net 0.200 x percent defect, at most 5.00 %");
    EXPECT_EQ(LineText(p, kMargin + 30.5), "Verdict: load outside gross and net");

    // "S  GR 01": gross 409 / 425 l, net 394 / 410 l; the check's defect
    // 15 / 425 allows 0.2 x 3.53 % of net. "F  GR 02" agrees. The load:
    // 429 / 445 l gross.
    const double s = kGroupsTop + 0.3, row2 = kLine, row3 = 2 * kLine, row4 = 3 * kLine;
    const double load = 6 * kLine + 1.0;
    EXPECT_EQ(LineText(p, s).substr(0, 17), "S GR 01 Gross 0.4");
    const Place lefts[] = {{"outside", 154.0, 0.0}, {"within", 154.0, row4}, {"LOAD", 0.8, load}};
    const Place rights[] = {{"0.409", 64.0, 0.0},   {"0.425", 86.0, 0.0},  {"-0.016", 108.0, 0.0},
                            {"-3.76", 128.0, 0.0},  {"1.00", 150.0, 0.0},  {"0.015", 86.0, row2},
                            {"0.000", 108.0, row2}, {"0.394", 64.0, row3}, {"-3.90", 128.0, row3},
                            {"0.71", 150.0, row3},  {"0.020", 86.0, row4}, {"0.445", 86.0, load},
                            {"-3.60", 128.0, load}};
    ExpectWords(p, s, lefts, rights);

    // The logs measured differently, then those in one scaling only.
    const double logs = kGroupsTop + 9 * kLine + 1.0 + 2.0 + 3 * kLine + 0.3;
    const double oneSide = kLine + 2.0 + 3 * kLine;
    const Place logLefts[] = {{"Top", 13.0, 0.0}, {"check", 13.0, oneSide}};
    const Place logRights[] = {
        {"1", 10.0, 0.0},       {"20", 52.0, 0.0},     {"22", 68.0, 0.0},      {"256", 84.0, 0.0},
        {"272", 97.0, 0.0},     {"-16", 110.0, 0.0},   {"-16", 194.0, 0.0},    {"4", 10.0, oneSide},
        {"153", 84.0, oneSide}, {"0", 126.0, oneSide}, {"153", 168.0, oneSide}};
    ExpectWords(p, logs, logLefts, logRights);
}

TEST(CheckScaleReportTest, ManyDifferingLogsRunOntoPagesWithTheirHeader) {
    LoadData original = CheckScaleBaseLoad();
    LoadData check = CheckScaleBaseLoad();
    for (int i = 4; i <= 80; ++i) {
        original.logs.push_back(CheckScaleLog(i, "S", "01", 24, 20, 40));
        check.logs.push_back(CheckScaleLog(i, "S", "01", 24, 20, 42));
    }
    const auto pages = Render(CompareCheckScale(original, check, {}));
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(LineText(pages[1], kMargin + 1.0), "Check Scale Comparison (continued)");
    EXPECT_TRUE(pages.back().contains("80"));
    EXPECT_FALSE(pages[0].contains("(continued)"));
}

} // namespace
} // namespace brimlo::testing
