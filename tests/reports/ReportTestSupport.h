#pragma once

#include "PdfWords.h"
#include "common/MemoryTableStore.h"
#include "common/SampleLoad.h"
#include "common/TempDir.h"
#include "load/LoadData.h"
#include "master/MasterFields.h"
#include "support/Dataset.h"
#include "support/TableStore.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace brimlo::testing {

// Every page is Letter with 10 mm margins: band places are offset by them.
inline constexpr double kMargin = 10.0;
// One printed line: 18 layout pixels at 96 to the inch.
inline constexpr double kLine = 18.0 * 25.4 / 96.0;
inline constexpr double kFooterTop = 279.4 - kMargin - 5.6;

inline LogRecord MakeLog(int number, const std::string& species, const std::string& cond,
                         const std::string& prod, double gross, double cull = 0.0,
                         int16_t length = 50) {
    LogRecord log;
    log.LOGNUM = number;
    log.SPECIES = species;
    log.CONDCODE = cond;
    log.PRODCODE = prod;
    log.TOPD = 21;
    log.LENGTH = length;
    log.GROSSVOL = gross;
    log.CULLVOL = cull;
    log.BUTTD = 33;
    return log;
}

// The sample header over logs 1 to n of 100 litres each, their species
// taken in turn from the first speciesCount of twelve.
inline LoadData SampleLoadOf(int n, int speciesCount = 1) {
    static const std::string kSpecies = "SFPLABCDEHJK";
    LoadData load;
    load.header = SampleHeader();
    for (int i = 0; i < n; ++i)
        load.logs.push_back(MakeLog(i + 1, kSpecies.substr(i % speciesCount, 1), "GR", "01", 100));
    return load;
}

// Writes a report with the given writer into a fresh directory and reads
// its words back.
inline std::vector<PdfPage> RenderPdf(const std::function<void(const std::string&)>& write) {
    TempDir dir;
    const auto file = dir / "report.pdf";
    write(file.string());
    return ReadPdfWords(file);
}

// The one page a report is expected to fill.
inline PdfPage OnePage(const std::vector<PdfPage>& pages) {
    EXPECT_EQ(pages.size(), 1u);
    return pages.empty() ? PdfPage{} : pages[0];
}

// Expects a word at a place given in band coordinates of a band whose top
// stands bandTop down the paper.
inline void ExpectLeft(const PdfPage& page, const std::string& text, double x, double bandTop,
                       double y) {
    EXPECT_TRUE(page.atLeft(text, kMargin + x, bandTop + y))
        << "\"" << text << "\" not at left " << x << ", " << y << " of band at " << bandTop;
}

inline void ExpectRight(const PdfPage& page, const std::string& text, double x, double bandTop,
                        double y) {
    EXPECT_TRUE(page.atRight(text, kMargin + x, bandTop + y))
        << "\"" << text << "\" not at right edge " << x << ", " << y << " of band at " << bandTop;
}

// A word's place in band coordinates.
struct Place {
    std::string text;
    double x, y;
};

// Expects words with their left edges (and others with their right edges)
// at their places in the band whose top stands bandTop down the paper.
inline void ExpectWords(const PdfPage& page, double bandTop, std::span<const Place> lefts,
                        std::span<const Place> rights = {}) {
    for (const Place& p : lefts)
        ExpectLeft(page, p.text, p.x, bandTop, p.y);
    for (const Place& p : rights)
        ExpectRight(page, p.text, p.x, bandTop, p.y);
}

inline std::unique_ptr<Dataset> NewReportMaster() {
    return std::make_unique<Dataset>(std::make_unique<MemoryTableStore>(MasterFieldList()));
}

struct TestGroup {
    std::string key;
    int32_t logs = 0;
    double length = 0.0, gross = 0.0, cull = 0.0, net = 0.0, cullPer = 0.0;
};

// A master record with plain header values and the groups given.
struct TestMasterRecord {
    std::string millCode = "AB", sawlogs = "Y", lessee = "Lessee";
    int32_t pop = 3, millNum = 4711, loadNum = 123, topD = 14, netWeight = 12346, trees = 20;
    int32_t totalLogs = 0;
    std::vector<TestGroup> groups;
};

inline void AddRecord(Dataset& master, const TestMasterRecord& r) {
    master.insert();
    master.setField(kMasterMillCode, Value(r.millCode));
    master.setField(kMasterPop, Value(r.pop));
    master.setField(kMasterMillNum, Value(r.millNum));
    master.setField(kMasterSawlogs, Value(r.sawlogs));
    master.setField(kMasterLessee, Value(r.lessee));
    master.setField(kMasterMillName, Value("Millname"));
    master.setField(kMasterDisp, Value("D1234"));
    master.setField(kMasterSubDisp, Value("SD9"));
    master.setField(kMasterBlockNum, Value("B7"));
    master.setField(kMasterLoadNum, Value(r.loadNum));
    master.setField(kMasterTopD, Value(r.topD));
    master.setField(kMasterWeighDate, Value(Date::fromYmd(2026, 3, 4)));
    master.setField(kMasterNetWeight, Value(r.netWeight));
    master.setField(kMasterTm9, Value("TMX"));
    master.setField(kMasterHSpecies, Value("S"));
    master.setField(kMasterHCondCode, Value("GR"));
    master.setField(kMasterHProdCode, Value("01"));
    master.setField(kMasterSource, Value("Source"));
    master.setField(kMasterTrees, Value(r.trees));
    for (int n = 1; n <= 12; ++n) {
        const bool used = n <= static_cast<int>(r.groups.size());
        const TestGroup g = used ? r.groups[static_cast<std::size_t>(n - 1)] : TestGroup{};
        master.setField(MasterGroupFieldIndex(n, kGroupSpCdPr), Value(g.key));
        master.setField(MasterGroupFieldIndex(n, kGroupLogNums), Value(g.logs));
        master.setField(MasterGroupFieldIndex(n, kGroupLength), Value(g.length));
        master.setField(MasterGroupFieldIndex(n, kGroupGrossVol), Value(g.gross));
        master.setField(MasterGroupFieldIndex(n, kGroupCullVol), Value(g.cull));
        master.setField(MasterGroupFieldIndex(n, kGroupNetVol), Value(g.net));
        master.setField(MasterGroupFieldIndex(n, kGroupCullPer), Value(g.cullPer));
    }
    master.setField(kMasterNumGroups, Value(static_cast<int32_t>(r.groups.size())));
    master.setField(kMasterTotalLogs, Value(r.totalLogs));
    master.post();
}

// n groups "S  GR 01", "S  GR 02", ... each of one log, 1 m3 gross, 0.1 cull.
inline std::vector<TestGroup> PlainGroups(int n) {
    std::vector<TestGroup> groups;
    for (int i = 1; i <= n; ++i) {
        const std::string product = (i < 10 ? "0" : "") + std::to_string(i);
        groups.push_back({"S  GR " + product, 1, 5.0, 1.0, 0.1, 0.9, 10.0});
    }
    return groups;
}

} // namespace brimlo::testing
