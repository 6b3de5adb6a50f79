#include "reports/LoadLogReport.h"

#include "ReportTestSupport.h"
#include "master/CMaster.h"
#include "reports/ReportTexts.h"

#include <QDate>
#include <QLocale>
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
    LoadData load = TwoLogLoad("S");
    HeaderRecord& h = load.header;
    h.LESSEE = "Caf\xE9"; // Windows-1252 e acute
    // One word each, to be found at their places.
    h.MILL_NAME = "Millname";
    h.DISP = "D1234";
    h.SUBDISP = "SD9";
    h.MILL_NUM = 4711;
    h.POP = 3;
    h.HTOPD = 14;
    h.NETWEIGHT = 12345.6;
    h.TM9 = "TMX";
    h.BLOCK_NUM = "B7";
    h.SOURCE = "Source";
    h.SAWLOGS = "Y";
    h.DATEWEIGHED = Date::fromYmd(2026, 3, 4);
    const auto pages = RenderListing(load);
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
    ExpectLeft(p, "Caf\xC3\xA9", 0.8, kTitleTop, 17.7);
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

namespace brimlo::testing {
namespace {

struct Heading {
    const char* word;
    double other; // the place when the method is not "S"
    double smalian;
};

// Caption places of both arrangements, taken from the layout table.
const Heading kHeadings[] = {
    {"SP", 55.3, 55.3},     {"CD", 62.4, 62.4},     {"PR", 69.3, 69.3},    {"Butt.", 131.5, 78.3},
    {"TD", 78.3, 96.8},     {"LG", 85.7, 104.2},    {"GVol", 94.5, 113.0}, {"Type", 108.0, 126.5},
    {"CVol", 117.5, 136.0}, {"Flag", 150.0, 150.0},
};

TEST(LoadLogReportTest, ColumnsFollowTheVolumeMethod) {
    for (const std::string method : {"S", "A", ""}) {
        SCOPED_TRACE("method \"" + method + "\"");
        const bool smalian = method == "S";
        const auto pages = RenderListing(TwoLogLoad(method));
        ASSERT_EQ(pages.size(), 1u);
        const PdfPage& p = pages[0];
        for (const Heading& h : kHeadings)
            ExpectLeft(p, h.word, smalian ? h.smalian : h.other, kTitleTop, 47.6);
        ExpectLeft(p, "Log", 39.4, kTitleTop, 47.6);
        ExpectLeft(p, "GROSS", smalian ? 82.3 : 73.0, kTitleTop, 40.7);
        ExpectLeft(p, "DEDUCT", smalian ? 127.0 : 108.5, kTitleTop, 40.7);

        // The first detail line: find its top from the log number.
        const auto first = p.atRight("1", kMargin + 51.3, kFirstDetail + kLine / 2, kLine / 2);
        ASSERT_TRUE(first);
        const double y = first->top;
        const double shift = smalian ? 18.5 : 0.0;
        EXPECT_TRUE(p.atLeft("S", kMargin + 55.0, y));
        EXPECT_TRUE(p.atLeft("GR", kMargin + 62.7, y));
        EXPECT_TRUE(p.atLeft("01", kMargin + 69.6, y));
        EXPECT_TRUE(p.atRight("33", kMargin + (smalian ? 89.4 : 142.6), y));
        EXPECT_TRUE(p.atRight("21", kMargin + 83.9 + shift, y));
        EXPECT_TRUE(p.atRight("50", kMargin + 92.3 + shift, y));
        EXPECT_TRUE(p.atRight("250", kMargin + 104.8 + shift, y));
        EXPECT_TRUE(p.atLeft("2", kMargin + 110.6 + shift, y));
        EXPECT_TRUE(p.atRight("20", kMargin + 126.7 + shift, y));
        // The second line stands one line lower and carries the flag.
        EXPECT_TRUE(p.atRight("2", kMargin + 51.3, y + kLine));
        EXPECT_TRUE(p.atRight("198", kMargin + 104.8 + shift, y + kLine));
        EXPECT_TRUE(p.atLeft("F", kMargin + 151.3, y + kLine));
    }
}

TEST(LoadLogReportTest, SummaryBandListsTheGroupsAfterTheLastLog) {
    LoadData load = TwoLogLoad("S");
    load.logs.push_back(MakeLog(3, "F", "GR", "02", 100, 50, 30));
    load.logs.push_back(MakeLog(4, "N", "GR", "02", 500, 0, 30)); // no part in the summary
    const auto pages = RenderListing(load);
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    const double top = kFirstDetail + 4 * kLine;
    ExpectLeft(p, "TOTALS", 54.5, top, 0.3);
    ExpectLeft(p, "Length", 80.4, top, 0.3);
    ExpectLeft(p, "GVol.", 94.5, top, 0.3);
    ExpectLeft(p, "Cull", 113.2, top, 0.3);
    // 50 + 46 dm, 250 + 198 litres gross, 20 litres cull.
    ExpectLeft(p, "S", 54.0, top, 5.6);
    ExpectRight(p, "9.6", 90.8, top, 5.6);
    ExpectRight(p, "0.448", 106.4, top, 5.6);
    ExpectRight(p, "0.020", 126.2, top, 5.6);
    ExpectLeft(p, "F", 54.0, top, 10.3);
    ExpectRight(p, "3.0", 90.8, top, 10.3);
    ExpectRight(p, "0.100", 106.4, top, 10.3);
    ExpectRight(p, "0.050", 126.2, top, 10.3);
    // Two groups: the third slot and everything after it stay empty.
    for (double slot : {15.1, 19.8, 56.9})
        EXPECT_TRUE(p.line(top + slot).empty()) << "slot at " << slot;
}

TEST(LoadLogReportTest, UnusedSlotsShortenTheSummaryBand) {
    // 30 lines leave 56.9 mm above the footer: room for the band of one
    // group (62.2 - 11 lines) but not for the full band of twelve.
    const double room = kFooterTop - (kFirstDetail + 30 * kLine);
    ASSERT_GT(room, 62.2 - 11 * kLine);
    ASSERT_LT(room, 62.2);
    const std::vector<std::string> species = {"S", "F", "P", "L", "A", "B",
                                              "C", "D", "E", "H", "J", "K"};
    for (int groups : {1, 12}) {
        SCOPED_TRACE(groups);
        LoadData load;
        load.header = SampleHeader();
        for (int i = 0; i < 30; ++i)
            load.logs.push_back(
                MakeLog(i + 1, species[static_cast<std::size_t>(i % groups)], "GR", "01", 100));
        const auto pages = RenderListing(load);
        if (groups == 1) {
            ASSERT_EQ(pages.size(), 1u);
            ExpectLeft(pages[0], "TOTALS", 54.5, kFirstDetail + 30 * kLine, 0.3);
        } else {
            ASSERT_EQ(pages.size(), 2u);
            EXPECT_FALSE(pages[0].contains("TOTALS"));
            ExpectLeft(pages[1], "TOTALS", 54.5, kMargin + 15.9, 0.3);
            ExpectLeft(pages[1], "K", 54.0, kMargin + 15.9, 56.9);
        }
    }
}

TEST(LoadLogReportTest, PageHeaderRepeatsFromPageTwoOnly) {
    LoadData load;
    load.header = SampleHeader();
    for (int i = 0; i < 120; ++i)
        load.logs.push_back(MakeLog(i + 1, "S", "GR", "01", 100));
    const auto pages = RenderListing(load);
    // Page 1 holds the lines between the title band and the footer, later
    // pages those below the 15.9 mm page header.
    const int firstPage = static_cast<int>((kFooterTop - kFirstDetail) / kLine);
    const int laterPage = static_cast<int>((kFooterTop - kMargin - 15.9) / kLine);
    ASSERT_EQ(firstPage, 41);
    ASSERT_EQ(laterPage, 49);
    ASSERT_EQ(pages.size(), 3u);

    EXPECT_EQ(pages[0].all("Log").size(), 2u); // the title and the column caption
    EXPECT_EQ(pages[0].all("GROSS").size(), 1u);
    EXPECT_FALSE(pages[0].atLeft("GROSS", kMargin + 82.3, kMargin + 2.4));
    for (std::size_t page : {1u, 2u}) {
        SCOPED_TRACE(page);
        const PdfPage& p = pages[page];
        EXPECT_FALSE(p.contains("Lessee,"));
        EXPECT_FALSE(p.contains("Listing"));
        ExpectLeft(p, "Log", 39.4, kMargin, 9.3);
        ExpectLeft(p, "GROSS", 82.3, kMargin, 2.4);
        ExpectLeft(p, "DEDUCT", 127.0, kMargin, 2.4);
        ExpectLeft(p, "Butt.", 78.3, kMargin, 9.3);
    }
    // The last log of page 1 and the first of page 2.
    const auto last = pages[0].atRight(std::to_string(firstPage), kMargin + 51.3,
                                       kFirstDetail + (firstPage - 0.5) * kLine, kLine / 2);
    EXPECT_TRUE(last);
    EXPECT_FALSE(pages[0].contains(std::to_string(firstPage + 1)));
    EXPECT_TRUE(pages[1].atRight(std::to_string(firstPage + 1), kMargin + 51.3,
                                 kMargin + 15.9 + kLine / 2, kLine / 2));
    EXPECT_TRUE(pages[2].atRight(std::to_string(firstPage + laterPage + 1), kMargin + 51.3,
                                 kMargin + 15.9 + kLine / 2, kLine / 2));
}

// The footer's date takes the system's regional short date format.
TEST(LoadLogReportTest, FooterOnEveryPageWithStartDateAndPageNumber) {
    SetProgramStartDate(QDate(2026, 1, 2));
    LoadData load;
    load.header = SampleHeader();
    for (int i = 0; i < 60; ++i)
        load.logs.push_back(MakeLog(i + 1, "S", "GR", "01", 100));
    for (const auto& [locale, date] : {std::pair{"en_US", "1/2/26"}, {"en_CA", "2026-01-02"}}) {
        SCOPED_TRACE(locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        const auto pages = RenderListing(load);
        QLocale::setDefault(QLocale::system());
        ASSERT_EQ(pages.size(), 2u);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            SCOPED_TRACE(i);
            const PdfPage& p = pages[i];
            const auto brimlo = p.atLeft("BRIMLO", kMargin + 90.5, kFooterTop + 2.8, 2.8);
            ASSERT_TRUE(brimlo);
            EXPECT_TRUE(p.atLeft(date, kMargin + 0.8, brimlo->top));
            // "Page:" reaches the number's place, so the two may read as one word.
            const std::string number = std::to_string(i + 1);
            const bool apart = p.atLeft("Page:", kMargin + 179.1, brimlo->top) &&
                               p.atLeft(number, kMargin + 188.6, brimlo->top);
            EXPECT_TRUE(apart || p.atLeft("Page:" + number, kMargin + 179.1, brimlo->top));
        }
    }
}

// Header values as wide as their fields hold stop where the next column
// starts (its caption or its value, whichever stands further left).
TEST(LoadLogReportTest, HeaderValuesStopAtTheNextColumn) {
    LoadData load = TwoLogLoad("S");
    HeaderRecord& h = load.header;
    h.LESSEE = h.MILL_NAME = h.SOURCE = std::string(20, 'W');
    h.DISP = h.TM9 = std::string(10, 'W');
    h.SUBDISP = h.BLOCK_NUM = std::string(4, 'W');
    h.HSPECIES = h.HCONDCODE = h.HPRODCODE = "WW";
    const auto pages = RenderListing(load);
    ASSERT_FALSE(pages.empty());
    const std::pair<double, std::vector<double>> lines[] = {
        {17.7, {43.1, 87.6, 108.7, 127.5, 174.1, 195.8}},
        {32.8, {38.9, 51.1, 60.3, 90.5, 113.8, 125.7, 137.3, 146.8, 158.5, 195.8}},
    };
    for (const auto& [y, starts] : lines) {
        const auto words = pages[0].line(kTitleTop + y);
        EXPECT_GE(words.size(), starts.size()) << y; // every value still prints
        for (const PdfWord& word : words)
            for (double start : starts)
                EXPECT_FALSE(word.left < kMargin + start - 0.1 && word.right > kMargin + start)
                    << word.text << " crosses " << start << " at " << y;
    }
}

TEST(LoadLogReportTest, LoadWithoutLogsPrintsAnEmptyLineAndTheHeaderGroup) {
    LoadData load;
    load.header = SampleHeader();
    CMaster master;
    const auto pages =
        RenderPdf([&](const std::string& file) { SaveLoadLogReportPdf(file, load, master); });
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    EXPECT_TRUE(p.line(kFirstDetail + kLine / 2, kLine / 2).empty());
    const double top = kFirstDetail + kLine;
    ExpectLeft(p, "TOTALS", 54.5, top, 0.3);
    ExpectLeft(p, "S", 54.0, top, 5.6);
    ExpectRight(p, "0.0", 90.8, top, 5.6);
    ExpectRight(p, "0.000", 106.4, top, 5.6);
    ExpectRight(p, "0.000", 126.2, top, 5.6);
    EXPECT_TRUE(p.line(top + 10.3).empty());
    // The report refills the program's master record object.
    EXPECT_EQ(master.summary.NUM_GROUPS, 1);
    EXPECT_EQ(master.summary.groups[0].SPCDPR, "S  GR 01");
}

} // namespace
} // namespace brimlo::testing
