#include "ReportTestSupport.h"
#include "master/CMaster.h"
#include "reports/LoadLogReport.h"
#include "reports/LoadSummaryReport.h"
#include "reports/MasterFullReport.h"
#include "reports/MasterSummaryReport.h"
#include "rules/GrossVolume.h"

#include <cstdlib>
#include <filesystem>
#include <tuple>

// Writes every report of a realistic load and master file as a PDF into the
// directory BRIMLO_SCREENSHOTS names, for the pictures in the documentation.
// Without that variable there is nothing to write and the test is skipped.

namespace brimlo::testing {
namespace {

namespace fs = std::filesystem;

// A mixed load of spruce, pine and fir as a scaler would key it: species,
// condition, product, top, butt and length.
constexpr std::tuple<const char*, const char*, const char*, int16_t, int16_t, int16_t> kShapes[10] =
    {{"S", "GR", "01", 21, 33, 50}, {"S", "GR", "01", 18, 27, 52}, {"P", "GR", "01", 16, 24, 49},
     {"S", "GR", "02", 12, 19, 25}, {"F", "GR", "01", 24, 36, 51}, {"P", "GR", "01", 19, 28, 50},
     {"S", "DE", "01", 22, 31, 48}, {"F", "GR", "02", 11, 17, 26}, {"P", "GR", "02", 13, 18, 25},
     {"S", "GR", "01", 26, 38, 53}};

LoadData PictureLoad(const std::string& method, int32_t loadNum = 1047, int logCount = 30) {
    LoadData load;
    HeaderRecord& h = load.header = SampleHeader();
    h.LESSEE = "North Ridge Timber";
    h.MILL_NAME = "Cedar Falls";
    h.DISP = "CTL0417";
    h.SUBDISP = "A";
    h.BLOCK_NUM = "12";
    h.LOAD_NUM = loadNum;
    h.TM9 = "TM9-2231";
    h.SOURCE = "Crown";
    h.TREES = 14;
    h.NETWEIGHT = 23840.0;
    h.DATEWEIGHED = Date::fromYmd(2026, 3, 4);
    h.VOL_CALC_METH = method;
    for (int n = 1; n <= logCount; ++n) {
        const auto& [species, cond, prod, top, butt, length] = kShapes[(n * 7 + loadNum) % 10];
        LogRecord log = MakeLog(n, species, cond, prod, 0.0, 0.0, length);
        log.TOPD = top;
        log.BUTTD = butt;
        log.GROSSVOL = CalcGrossVolume(method.at(0), species, top, butt, length);
        // A handful of logs with rot or a crook taken off.
        if (n % 9 == 4) {
            log.CULL_TYPE = n % 2 == 0 ? "2" : "1";
            log.CULLVOL = static_cast<double>(static_cast<int>(log.GROSSVOL / 4));
        }
        if (n == 17)
            log.FLAG = "F";
        load.logs.push_back(log);
    }
    return load;
}

// Posts loads to a master table the way the program does: the summary of
// each load becomes one master record.
std::unique_ptr<Dataset> PictureMaster(int records) {
    auto master = NewReportMaster();
    for (int i = 0; i < records; ++i) {
        const LoadData load = PictureLoad(i % 3 == 2 ? "A" : "S", 1047 + i, 12 + 5 * i);
        CMaster summary;
        summary.BuildFromLoad(load.header, load.logs);
        const Record values = summary.ToMasterRecord();
        master->insert();
        for (std::size_t f = 0; f < values.size(); ++f)
            master->setField(static_cast<int>(f), values[f]);
        master->post();
    }
    return master;
}

TEST(ReportPicturesTest, WritesEveryReportOfARealisticLoadAndMaster) {
    const char* target = std::getenv("BRIMLO_SCREENSHOTS");
    if (target == nullptr || !fs::is_directory(target))
        GTEST_SKIP() << "BRIMLO_SCREENSHOTS does not name a directory";
    const fs::path dir(target);

    const auto writeLoad = [&](auto save, const char* file, const char* method) {
        CMaster master;
        save((dir / file).string(), PictureLoad(method), master);
    };
    writeLoad(SaveLoadLogReportPdf, "log-listing.pdf", "S");
    writeLoad(SaveLoadLogReportPdf, "log-listing-alberta.pdf", "A");
    writeLoad(SaveLoadSummaryPdf, "load-summary.pdf", "S");
    SaveMasterFullPdf((dir / "master-full.pdf").string(), *PictureMaster(3), false);
    SaveMasterSummaryPdf((dir / "master-summary.pdf").string(), *PictureMaster(6));

    // Each file holds a page showing the report's caption.
    for (const auto& [file, caption] : {std::pair{"log-listing.pdf", "Log Listing"},
                                        {"log-listing-alberta.pdf", "Log Listing"},
                                        {"load-summary.pdf", "LOAD SUMMARY"},
                                        {"master-full.pdf", "MASTER FILE FULL REPORT"},
                                        {"master-summary.pdf", "MASTER FILE SUMMARY"}}) {
        const auto pages = ReadPdfWords(dir / file);
        fs::remove(dir / (std::string(file) + ".bbox.html")); // only the PDFs belong there
        ASSERT_FALSE(pages.empty()) << file;
        std::string firstPage;
        for (const PdfWord& w : pages[0].words)
            firstPage += w.text + " ";
        EXPECT_NE(firstPage.find(caption), std::string::npos) << caption << " missing in " << file;
    }
}

} // namespace
} // namespace brimlo::testing
