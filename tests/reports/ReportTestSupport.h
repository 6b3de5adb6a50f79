#pragma once

#include "PdfWords.h"
#include "common/SampleLoad.h"
#include "common/TempDir.h"
#include "load/LoadData.h"

#include <functional>
#include <gtest/gtest.h>
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

// Writes a report with the given writer into a fresh directory and reads
// its words back.
inline std::vector<PdfPage> RenderPdf(const std::function<void(const std::string&)>& write) {
    TempDir dir;
    const auto file = dir / "report.pdf";
    write(file.string());
    return ReadPdfWords(file);
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

} // namespace brimlo::testing
