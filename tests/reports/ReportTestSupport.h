#pragma once

#include "PdfWords.h"
#include "common/SampleLoad.h"
#include "common/TempDir.h"
#include "load/LoadData.h"

#include <functional>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <vector>

namespace brimlo::testing {

// Every page is Letter with 10 mm margins: band places are offset by them.
inline constexpr double kMargin = 10.0;
// One printed line: 18 layout pixels at 96 to the inch.
inline constexpr double kLine = 18.0 * 25.4 / 96.0;
inline constexpr double kPageHeight = 279.4;
inline constexpr double kFooterTop = kPageHeight - kMargin - 5.6;

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
    static const char* const kSpecies[] = {"S", "F", "P", "L", "A", "B",
                                           "C", "D", "E", "H", "J", "K"};
    LoadData load;
    load.header = SampleHeader();
    for (int i = 0; i < n; ++i)
        load.logs.push_back(MakeLog(i + 1, kSpecies[i % speciesCount], "GR", "01", 100));
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
    double x;
    double y;
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

} // namespace brimlo::testing
