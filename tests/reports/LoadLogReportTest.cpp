#include "reports/LoadLogReport.h"

#include "ReportTestSupport.h"
#include "master/CMaster.h"

#include <gtest/gtest.h>

namespace brimlo::testing {
namespace {

constexpr double kTitleTop = kMargin;
constexpr double kTitleHeight = 54.0;
constexpr double kFirstDetail = kMargin + kTitleHeight;

std::vector<PdfPage> RenderListing(const LoadData& load) {
    CMaster master;
    return RenderPdf([&](const std::string& file) { SaveLoadLogReportPdf(file, load, master); });
}

LoadData TwoLogLoad(const std::string& method) {
    LoadData load;
    load.header = SampleHeader();
    load.header.VOL_CALC_METH = method;
    load.logs = {MakeLog(1, "S", "GR", "01", 250, 20, 50), MakeLog(2, "S", "GR", "01", 198, 0, 46)};
    load.logs[0].CULL_TYPE = "2";
    load.logs[1].FLAG = "F";
    return load;
}

TEST(LoadLogReportTest, TitleBandPlacesHeaderCaptionsAndValues) {
    const auto pages = RenderListing(TwoLogLoad("S"));
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    EXPECT_NEAR(p.width, 215.9, 0.2);
    EXPECT_NEAR(p.height, 279.4, 0.2);
    ExpectLeft(p, "Log", 81.0, kTitleTop, 2.9);
    ExpectLeft(p, "Lessee,", 0.8, kTitleTop, 13.0);
    ExpectLeft(p, "Mill", 43.7, kTitleTop, 13.0);
    ExpectLeft(p, "Disposition", 87.6, kTitleTop, 13.0);
    ExpectLeft(p, "Sub", 108.7, kTitleTop, 13.0);
    ExpectLeft(p, "Small", 158.8, kTitleTop, 13.0);
    ExpectLeft(p, "Lessee", 0.8, kTitleTop, 17.7);
    ExpectLeft(p, "Millname", 43.1, kTitleTop, 17.7);
    ExpectLeft(p, "D1234", 88.4, kTitleTop, 17.7);
    ExpectLeft(p, "SD9", 111.4, kTitleTop, 17.7);
    ExpectLeft(p, "M", 127.5, kTitleTop, 17.7);
    ExpectRight(p, "4711", 143.1, kTitleTop, 17.7);
    ExpectRight(p, "123", 157.7, kTitleTop, 17.7);
    ExpectLeft(p, "Y", 174.1, kTitleTop, 17.7);
    ExpectLeft(p, "Date", 13.5, kTitleTop, 27.5);
    ExpectLeft(p, "Net", 60.3, kTitleTop, 27.5);
    ExpectLeft(p, "Source", 158.5, kTitleTop, 27.5);
    ExpectLeft(p, "2026/03/04", 16.4, kTitleTop, 32.8);
    ExpectLeft(p, "3", 38.9, kTitleTop, 32.8);
    ExpectLeft(p, "14", 51.1, kTitleTop, 32.8);
    ExpectLeft(p, "12345.6", 65.9, kTitleTop, 32.8);
    ExpectLeft(p, "TMX", 91.8, kTitleTop, 32.8);
    ExpectLeft(p, "B7", 113.8, kTitleTop, 32.8);
    ExpectLeft(p, "S", 125.7, kTitleTop, 32.8);
    ExpectLeft(p, "GR", 137.3, kTitleTop, 32.8);
    ExpectLeft(p, "01", 147.4, kTitleTop, 32.8);
    ExpectLeft(p, "Source", 159.0, kTitleTop, 32.8);
}

} // namespace
} // namespace brimlo::testing
