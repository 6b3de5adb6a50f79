#include "PdfWords.h"
#include "cli/CliTestSupport.h"
#include "common/CheckScaleLoads.h"
#include "load/CheckScaleComparison.h"
#include "reports/CheckScaleReport.h"

#include <gtest/gtest.h>

namespace brimlo::testing {
namespace {

class CheckScaleCli : public ::testing::Test {
protected:
    TempDir temp;
    std::string original = WriteLoad(temp / "original.txt", CheckScaleBaseLoad());
    std::string check = WriteLoad(temp / "check.txt", CheckScaleWiderTop());
};

TEST_F(CheckScaleCli, JsonFiguresVerdictAndThePdfOfTheProgram) {
    const std::string pdf = (temp / "cli.pdf").string();
    const CliResult r =
        RunCli({"check-scale", original, check, "--json", "-o", pdf, "--gross-tol", "5"});
    // Log 1's top 20 against 22: -3.76 % gross (within 5 %), -3.90 % net.
    ASSERT_EQ(r.exitCode, 1) << r.err;
    const std::pair<const char*, double> numbers[] = {{"load/gross/original", 0.429},
                                                      {"load/gross/check", 0.445},
                                                      {"load/gross/difference", -0.016},
                                                      {"tolerances/grossPercent", 5.0},
                                                      {"logs/0/log", 1}};
    for (const auto& [path, want] : numbers)
        EXPECT_EQ(JsonAt(r.out, path).toDouble(), want) << path;
    EXPECT_NEAR(JsonAt(r.out, "load/gross/percent").toDouble(), -1600.0 / 445, 1e-9);
    EXPECT_EQ(JsonAt(r.out, "load/verdict").toString(), QStringLiteral("outside net"));
    EXPECT_EQ(JsonAt(r.out, "logs/0/fields/0/field").toString(), QStringLiteral("TOPD"));
    EXPECT_EQ(JsonAt(r.out, "logs/0/fields/0/check").toString(), QStringLiteral("22"));

    // The PDF is the program's report of the same comparison.
    CheckScaleTolerances tolerances;
    tolerances.grossPercent = 5;
    const std::string programPdf = (temp / "program.pdf").string();
    SaveCheckScaleReportPdf(programPdf, CompareCheckScaleFiles(original, check, tolerances));
    const std::vector<PdfPage> got = ReadPdfWords(pdf), want = ReadPdfWords(programPdf);
    ASSERT_EQ(got.size(), want.size());
    ASSERT_EQ(got[0].words.size(), want[0].words.size());
    for (std::size_t w = 0; w < got[0].words.size(); ++w)
        EXPECT_EQ(got[0].words[w].text, want[0].words[w].text);
}

TEST_F(CheckScaleCli, ExitStatusTellsWithinOutsideAndMistakes) {
    EXPECT_EQ(RunCli({"check-scale", original, original}).exitCode, 0);
    const CliResult text = RunCli({"check-scale", original, check});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_NE(text.out.find("Verdict: outside gross and net"), std::string::npos) << text.out;
    EXPECT_EQ(RunCli({"check-scale", original, check, "--defect-factor", "0.2"}).exitCode, 64);
    EXPECT_EQ(RunCli({"check-scale", original, check, "--net-tol", "-1"}).exitCode, 64);
    const CliResult missing = RunCli({"check-scale", original, (temp / "none.txt").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("none.txt"), std::string::npos) << missing.err;
}

} // namespace
} // namespace brimlo::testing
