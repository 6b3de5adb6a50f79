#include "PdfWords.h"
#include "cli/CliTestSupport.h"
#include "common/CheckScaleLoads.h"
#include "load/CheckScaleComparison.h"
#include "reports/CheckScaleReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    const QJsonObject load = json[QStringLiteral("load")].toObject();
    const QJsonObject gross = load[QStringLiteral("gross")].toObject();
    EXPECT_EQ(gross[QStringLiteral("original")].toDouble(), 0.429);
    EXPECT_EQ(gross[QStringLiteral("check")].toDouble(), 0.445);
    EXPECT_EQ(gross[QStringLiteral("difference")].toDouble(), -0.016);
    EXPECT_NEAR(gross[QStringLiteral("percent")].toDouble(), -1600.0 / 445, 1e-9);
    EXPECT_EQ(load[QStringLiteral("verdict")].toString(), QStringLiteral("outside net"));
    EXPECT_EQ(json[QStringLiteral("tolerances")][QStringLiteral("grossPercent")].toDouble(), 5.0);
    const QJsonObject log = json[QStringLiteral("logs")][0].toObject();
    EXPECT_EQ(log[QStringLiteral("log")].toInt(), 1);
    const QJsonObject field = log[QStringLiteral("fields")][0].toObject();
    EXPECT_EQ(field[QStringLiteral("field")].toString(), QStringLiteral("TOPD"));
    EXPECT_EQ(field[QStringLiteral("check")].toString(), QStringLiteral("22"));

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
