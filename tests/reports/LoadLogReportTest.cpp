#include "reports/LoadLogReport.h"

#include "ReportTestSupport.h"
#include "master/CMaster.h"
#include "reports/ReportTexts.h"

#include <QDate>
#include <QLocale>
#include <tuple>

namespace brimlo::testing {
namespace {

constexpr double kTitleHeight = 54.0;
constexpr double kFirstDetail = kMargin + kTitleHeight;
constexpr double kLaterDetail = kMargin + 15.9; // below the page header

// The report refills the program's master record object: filled, when given.
std::vector<PdfPage> RenderListing(const LoadData& load, CMaster* filled = nullptr) {
    CMaster master;
    return RenderPdf([&](const std::string& file) {
        SaveLoadLogReportPdf(file, load, filled ? *filled : master);
    });
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
    h.LESSEE = "Caf\xE9";     // Windows-1252 e acute
    h.MILL_NAME = "Millname"; // one word
    h.MILL_NUM = 4711;
    h.NETWEIGHT = 12345.6;
    h.DATEWEIGHED = Date::fromYmd(2026, 3, 4);
    const PdfPage p = OnePage(RenderListing(load));
    EXPECT_NEAR(p.width, 215.9, 0.2);
    EXPECT_NEAR(p.height, 279.4, 0.2);
    const Place lefts[] = {
        {"Log", 81.0, 2.9},          {"Lessee,", 0.8, 13.0},   {"Mill", 43.7, 13.0},
        {"Disposition", 87.6, 13.0}, {"Sub", 108.7, 13.0},     {"Small", 158.8, 13.0},
        {"Caf\xC3\xA9", 0.8, 17.7},  {"Millname", 43.1, 17.7}, {"CTL", 88.4, 17.7},
        {"A1", 111.4, 17.7},         {"M", 127.5, 17.7},       {"N", 174.1, 17.7},
        {"Date", 13.5, 27.5},        {"Net", 60.3, 27.5},      {"Source", 158.5, 27.5},
        {"2026/03/04", 16.4, 32.8},  {"1", 38.9, 32.8},        {"16", 51.1, 32.8},
        {"12345.6", 65.9, 32.8},     {"TM9-77", 91.8, 32.8},   {"12", 113.8, 32.8},
        {"S", 125.7, 32.8},          {"GR", 137.3, 32.8},      {"01", 147.4, 32.8},
        {"CREEK", 159.0, 32.8}};
    const Place rights[] = {{"4711", 143.1, 17.7}, {"123", 157.7, 17.7}};
    ExpectWords(p, kMargin, lefts, rights);
}

// Caption places of both arrangements, taken from the layout table: when the
// method is not "S", and when it is.
const std::tuple<const char*, double, double> kHeadings[] = {
    {"SP", 55.3, 55.3},     {"CD", 62.4, 62.4},     {"PR", 69.3, 69.3},    {"Butt.", 131.5, 78.3},
    {"TD", 78.3, 96.8},     {"LG", 85.7, 104.2},    {"GVol", 94.5, 113.0}, {"Type", 108.0, 126.5},
    {"CVol", 117.5, 136.0}, {"Flag", 150.0, 150.0}, {"Log", 39.4, 39.4}};

TEST(LoadLogReportTest, ColumnsFollowTheVolumeMethod) {
    for (const std::string method : {"S", "A", ""}) {
        SCOPED_TRACE("method \"" + method + "\"");
        const bool smalian = method == "S";
        const PdfPage p = OnePage(RenderListing(TwoLogLoad(method)));
        for (const auto& [word, other, smalianPlace] : kHeadings)
            ExpectLeft(p, word, smalian ? smalianPlace : other, kMargin, 47.6);
        ExpectLeft(p, "GROSS", smalian ? 82.3 : 73.0, kMargin, 40.7);
        ExpectLeft(p, "DEDUCT", smalian ? 127.0 : 108.5, kMargin, 40.7);

        // The first detail line: find its top from the log number. The
        // second stands one line lower and carries the flag.
        const auto first = p.atRight("1", kMargin + 51.3, kFirstDetail + kLine / 2, kLine / 2);
        ASSERT_TRUE(first);
        const double shift = smalian ? 18.5 : 0.0;
        const Place lefts[] = {{"S", 55.0, 0.0},          {"GR", 62.7, 0.0},   {"01", 69.6, 0.0},
                               {"2", 110.6 + shift, 0.0}, {"F", 151.3, kLine}, {"S", 55.0, kLine}};
        const Place rights[] = {{"33", smalian ? 89.4 : 142.6, 0.0}, {"21", 83.9 + shift, 0.0},
                                {"50", 92.3 + shift, 0.0},           {"250", 104.8 + shift, 0.0},
                                {"20", 126.7 + shift, 0.0},          {"2", 51.3, kLine},
                                {"198", 104.8 + shift, kLine}};
        ExpectWords(p, first->top, lefts, rights);
    }
}

TEST(LoadLogReportTest, SummaryBandListsTheGroupsAfterTheLastLog) {
    LoadData load = TwoLogLoad("S");
    load.logs.push_back(MakeLog(3, "F", "GR", "02", 100, 50, 30));
    load.logs.push_back(MakeLog(4, "N", "GR", "02", 500, 0, 30)); // no part in the summary
    const PdfPage p = OnePage(RenderListing(load));
    const double top = kFirstDetail + 4 * kLine;
    const Place lefts[] = {{"TOTALS", 54.5, 0.3}, {"Length", 80.4, 0.3}, {"GVol.", 94.5, 0.3},
                           {"Cull", 113.2, 0.3},  {"S", 54.0, 5.6},      {"F", 54.0, 10.3}};
    // 50 + 46 dm, 250 + 198 litres gross, 20 litres cull.
    const Place rights[] = {{"9.6", 90.8, 5.6},  {"0.448", 106.4, 5.6},  {"0.020", 126.2, 5.6},
                            {"3.0", 90.8, 10.3}, {"0.100", 106.4, 10.3}, {"0.050", 126.2, 10.3}};
    ExpectWords(p, top, lefts, rights);
    // Two groups: the third slot and everything after it stay empty.
    for (double slot : {15.1, 19.8, 56.9})
        EXPECT_TRUE(p.line(top + slot).empty()) << "slot at " << slot;
}

TEST(LoadLogReportTest, UnusedSlotsShortenTheSummaryBand) {
    // 30 lines leave 56.9 mm above the footer: room for the band of one
    // group (62.2 - 11 lines) but not for the full band of twelve.
    ExpectLeft(OnePage(RenderListing(SampleLoadOf(30, 1))), "TOTALS", 54.5,
               kFirstDetail + 30 * kLine, 0.3);
    const auto twelve = RenderListing(SampleLoadOf(30, 12));
    ASSERT_EQ(twelve.size(), 2u);
    EXPECT_FALSE(twelve[0].contains("TOTALS"));
    ExpectLeft(twelve[1], "TOTALS", 54.5, kLaterDetail, 0.3);
    ExpectLeft(twelve[1], "K", 54.0, kLaterDetail, 56.9);
}

TEST(LoadLogReportTest, PageHeaderRepeatsFromPageTwoOnly) {
    const auto pages = RenderListing(SampleLoadOf(120));
    // Page 1 holds the lines between the title band and the footer, later
    // pages those below the page header.
    const int firstPage = 41, laterPage = 49;
    ASSERT_EQ(pages.size(), 3u);

    EXPECT_EQ(pages[0].all("Log").size(), 2u); // the title and the column caption
    EXPECT_EQ(pages[0].all("GROSS").size(), 1u);
    EXPECT_FALSE(pages[0].atLeft("GROSS", kMargin + 82.3, kMargin + 2.4));
    const Place header[] = {
        {"Log", 39.4, 9.3}, {"GROSS", 82.3, 2.4}, {"DEDUCT", 127.0, 2.4}, {"Butt.", 78.3, 9.3}};
    for (std::size_t page : {1u, 2u}) {
        SCOPED_TRACE(page);
        EXPECT_FALSE(pages[page].contains("Lessee,"));
        EXPECT_FALSE(pages[page].contains("Listing"));
        ExpectWords(pages[page], kMargin, header);
    }
    // The last log of page 1 and the first of pages 2 and 3.
    EXPECT_TRUE(pages[0].atRight(std::to_string(firstPage), kMargin + 51.3,
                                 kFirstDetail + (firstPage - 0.5) * kLine, kLine / 2));
    EXPECT_FALSE(pages[0].contains(std::to_string(firstPage + 1)));
    for (int page : {1, 2})
        EXPECT_TRUE(pages[page].atRight(std::to_string(firstPage + (page - 1) * laterPage + 1),
                                        kMargin + 51.3, kLaterDetail + kLine / 2, kLine / 2));
}

// The footer's date takes the system's regional short date format.
TEST(LoadLogReportTest, FooterOnEveryPageWithStartDateAndPageNumber) {
    SetProgramStartDate(QDate(2026, 1, 2));
    for (const auto& [locale, date] : {std::pair{"en_US", "1/2/26"}, {"en_CA", "2026-01-02"}}) {
        SCOPED_TRACE(locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        const auto pages = RenderListing(SampleLoadOf(60));
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
    const PdfPage p = OnePage(RenderListing(load));
    const std::pair<double, std::vector<double>> lines[] = {
        {17.7, {43.1, 87.6, 108.7, 127.5, 174.1, 195.8}},
        {32.8, {38.9, 51.1, 60.3, 90.5, 113.8, 125.7, 137.3, 146.8, 158.5, 195.8}},
    };
    for (const auto& [y, starts] : lines) {
        const auto words = p.line(kMargin + y);
        EXPECT_GE(words.size(), starts.size()) << y; // every value still prints
        for (const PdfWord& word : words)
            for (double start : starts)
                EXPECT_FALSE(word.left < kMargin + start - 0.1 && word.right > kMargin + start)
                    << word.text << " crosses " << start << " at " << y;
    }
}

TEST(LoadLogReportTest, LoadWithoutLogsPrintsAnEmptyLineAndTheHeaderGroup) {
    CMaster master;
    const PdfPage p = OnePage(RenderListing(SampleLoadOf(0), &master));
    EXPECT_TRUE(p.line(kFirstDetail + kLine / 2, kLine / 2).empty());
    const double top = kFirstDetail + kLine;
    const Place lefts[] = {{"TOTALS", 54.5, 0.3}, {"S", 54.0, 5.6}};
    const Place rights[] = {{"0.0", 90.8, 5.6}, {"0.000", 106.4, 5.6}, {"0.000", 126.2, 5.6}};
    ExpectWords(p, top, lefts, rights);
    EXPECT_TRUE(p.line(top + 10.3).empty());
    EXPECT_EQ(master.summary.NUM_GROUPS, 1);
    EXPECT_EQ(master.summary.groups[0].SPCDPR, "S  GR 01");
}

} // namespace
} // namespace brimlo::testing
