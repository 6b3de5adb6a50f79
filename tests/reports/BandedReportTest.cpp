#include "reports/BandedReport.h"

#include <gtest/gtest.h>
#include <sstream>

namespace brimlo {
namespace {

using Kind = BandedReport::BandKind;

constexpr double kFooter = 5.0;

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

// The bands page by page, pages parted by " |": "T" title, "H" page header,
// "D" detail and "F" footer with their index, "S" summary, each "@" its top.
std::string Layout(const BandedReport& report) {
    std::ostringstream text;
    for (int page = 0; page < report.pageCount(); ++page) {
        text << (page > 0 ? " |" : "");
        for (const auto& p : report.placementsOf(page)) {
            text << ' ' << "THDSF"[static_cast<int>(p.kind)];
            if (p.kind == Kind::Detail || p.kind == Kind::Footer)
                text << p.index;
            text << "@" << p.top;
        }
    }
    return text.str().substr(1);
}

TEST(BandedReportTest, BandsFillPagesInTurn) {
    const struct {
        std::vector<double> details;
        double summary;
        const char* layout;
    } cases[] = {
        // 40 mm bands: page 1 has room for 5 below the 30 mm title (40 + 200
        // = 240 <= 264.4), later pages for 6 below the 10 mm page header.
        {std::vector<double>(12, 40.0), 0.0,
         "T@10 D0@40 D1@80 D2@120 D3@160 D4@200 F1@264.4 | H@10 D5@20 D6@60 D7@100 D8@140 "
         "D9@180 D10@220 F2@264.4 | H@10 D11@20 F3@264.4"},
        // 40 + 200 + 24.4 = 264.4 fits exactly; a band of 24.5 starts a page.
        {{200.0, 24.4}, 0.0, "T@10 D0@40 D1@240 F1@264.4"},
        {{200.0, 24.5}, 0.0, "T@10 D0@40 F1@264.4 | H@10 D1@20 F2@264.4"},
        // A band higher than a page prints on its own, or below the title.
        {{300.0}, 0.0, "T@10 D0@40 F1@264.4"},
        {{10.0, 300.0, 10.0},
         0.0,
         "T@10 D0@40 F1@264.4 | H@10 D1@20 F2@264.4 | H@10 D2@20 F3@264.4"},
        // The summary follows the last detail or starts a page.
        {{100.0}, 50.0, "T@10 D0@40 S@140 F1@264.4"},
        {{200.0}, 30.0, "T@10 D0@40 F1@264.4 | H@10 S@20 F2@264.4"},
        {{}, 20.0, "T@10 S@40 F1@264.4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Layout(MakeReport(c.details, c.summary)), c.layout);
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
